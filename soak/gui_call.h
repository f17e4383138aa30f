// Runs a function on the GUI thread and waits for it, from the driver's
// thread: the window's state is read and its input given only there.
#pragma once

#include <QObject>
#include <type_traits>

namespace soak {

template <class F>
auto OnGui(QObject& context, F f) {
  using Result = std::invoke_result_t<F>;
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(&context, f, Qt::BlockingQueuedConnection);
  } else {
    Result result{};
    QMetaObject::invokeMethod(
        &context, [&] { result = f(); }, Qt::BlockingQueuedConnection);
    return result;
  }
}

}  // namespace soak
