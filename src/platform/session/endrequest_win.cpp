#include "platform/session/endrequest.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <windows.h>

namespace {

// Windows tells every top-level window that the session ends, and ends the
// process soon after the window has answered.
class SessionEndFilter : public QAbstractNativeEventFilter {
public:
  explicit SessionEndFilter(std::function<void()> end) : m_end(std::move(end)) {}

  bool nativeEventFilter(const QByteArray & /*eventType*/, void *message,
                         qintptr * /*result*/) override
  {
    const auto *msg = static_cast<const MSG *>(message);
    if (msg->message == WM_ENDSESSION && msg->wParam == TRUE)
      m_end();
    return false;
  }

private:
  std::function<void()> m_end;
};

} // namespace

void onEndRequest(std::function<void()> end)
{
  // Lives as long as the process, which this very filter may end.
  QCoreApplication::instance()->installNativeEventFilter(new SessionEndFilter(std::move(end)));
}
