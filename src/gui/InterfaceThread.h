#pragma once
// Calls from a worker into the window: Qt's widgets belong to the thread that made them, so a
// command running on a worker reaches them by running each call over there and waiting for it.

#include <QObject>
#include <functional>

namespace brisna {

// Runs `call` on the thread of `context` and returns when it has run. On that thread itself it
// simply calls it. An exception `call` throws comes back out of this function on the caller's
// thread, never into Qt's event loop.
void RunOnThreadOf(QObject* context, const std::function<void()>& call);

// The same for a call with a result.
template <class Call>
auto CallOnThreadOf(QObject* context, Call&& call) -> decltype(call()) {
    decltype(call()) result{};
    RunOnThreadOf(context, [&] { result = call(); });
    return result;
}

}  // namespace brisna
