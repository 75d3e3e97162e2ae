// Collects the messages that entry operations report while it exists.
#pragma once
#include <string>
#include <vector>

#include "model/ErrorReport.h"
#include "view/EntryMessages.h"

class RecordErrors {
public:
    RecordErrors()
    {
        previous_ = SetErrorSink([this](const EntryFailure& failure) {
            failures.push_back(failure);
            messages.push_back(EntryFailureMessage(failure));
        });
    }
    ~RecordErrors() { SetErrorSink(std::move(previous_)); }
    RecordErrors(const RecordErrors&) = delete;
    RecordErrors& operator=(const RecordErrors&) = delete;

    std::vector<EntryFailure> failures;
    std::vector<std::string> messages; // as the program shows them

private:
    ErrorSink previous_;
};
