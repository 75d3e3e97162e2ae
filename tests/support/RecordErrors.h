// Collects the messages that entry operations report while it exists.
#pragma once
#include <string>
#include <vector>

#include "model/ErrorReport.h"

class RecordErrors {
public:
    RecordErrors()
    {
        previous_ = SetErrorSink([this](const std::string& message) { messages.push_back(message); });
    }
    ~RecordErrors() { SetErrorSink(std::move(previous_)); }
    RecordErrors(const RecordErrors&) = delete;
    RecordErrors& operator=(const RecordErrors&) = delete;

    std::vector<std::string> messages;

private:
    ErrorSink previous_;
};
