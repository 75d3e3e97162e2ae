#include "view/EntryMessages.h"

std::string EntryFailureMessage(const EntryFailure& failure)
{
    const char* tail = kReadFailedTail;
    switch (failure.operation) {
    case EntryOperation::Read:
        tail = kReadFailedTail;
        break;
    case EntryOperation::Write:
        tail = kWriteFailedTail;
        break;
    case EntryOperation::Delete:
        tail = kDeleteFailedTail;
        break;
    case EntryOperation::Export:
        tail = failure.status == ERROR_INVALID_DATA ? kControlCharacterTail : kUnrepresentableTail;
        break;
    }
    const char* prefix = failure.kind == EntryKind::Extension ? kExtensionPrefix
                         : failure.kind == EntryKind::Scheme  ? kSchemePrefix
                                                              : kCreatorPrefix;
    return prefix + failure.name + tail;
}

std::string LockedSchemeMessage(const std::string& scheme, const EditLocks& locks)
{
    return "プロトコル「" + scheme +
           (locks.Reserved      ? "」は Windows が自身で使うものなので、変更も削除もできません。"
            : locks.WholeDialog ? "」は Windows によって変更も削除もできないものとされています。"
                                : "」は Windows によって削除できないものとされています。");
}
