// Entry operations tell about their own failures, but the model opens no
// windows and speaks no language of the user's: it reports which operation
// failed on which entry, with the registry's answer. The application
// installs the function that turns that into a message, and tests install
// one that records it.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

enum class EntryKind { Extension, Creator, Scheme };
// Export: a text that the file cannot hold (ERROR_NO_UNICODE_TRANSLATION:
// not in its code page; ERROR_INVALID_DATA: a control character).
enum class EntryOperation { Read, Write, Delete, Export };

struct EntryFailure {
    EntryKind kind = EntryKind::Extension;
    EntryOperation operation = EntryOperation::Read;
    std::string name;
    LONG status = ERROR_SUCCESS; // the registry's answer, where one call told it
};

using ErrorSink = std::function<void(const EntryFailure& failure)>;

// Returns the sink that was installed before.
ErrorSink SetErrorSink(ErrorSink sink);
void ReportError(const EntryFailure& failure);
