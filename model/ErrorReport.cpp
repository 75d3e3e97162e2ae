#include "model/ErrorReport.h"

#include <utility>

namespace {
ErrorSink& CurrentSink()
{
    static ErrorSink sink;
    return sink;
}
} // namespace

ErrorSink SetErrorSink(ErrorSink sink)
{
    return std::exchange(CurrentSink(), std::move(sink));
}

void ReportError(const EntryFailure& failure)
{
    // Without a sink (a tool that links the model alone) the failure has
    // nowhere to go; the operation's result still tells the caller.
    if (const ErrorSink& sink = CurrentSink())
        sink(failure);
}
