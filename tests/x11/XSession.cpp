#include "tests/x11/XSession.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QCursor>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <cstring>

namespace xsession {
namespace {

// A connection of the test's own, apart from the program's: it reads properties and sends
// requests as another client on the display would.
xcb_connection_t* Connection() {
  static xcb_connection_t* c = [] {
    xcb_connection_t* conn = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(conn)) ADD_FAILURE() << "no connection to the X server";
    return conn;
  }();
  return c;
}

xcb_window_t Root() {
  return xcb_setup_roots_iterator(xcb_get_setup(Connection())).data->root;
}

xcb_atom_t Atom(const char* name) {
  xcb_connection_t* c = Connection();
  xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = r != nullptr ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(r);
  return atom;
}

// The bytes of a property; empty when the window has no such property.
QByteArray Property(xcb_window_t window, xcb_atom_t property) {
  xcb_connection_t* c = Connection();
  xcb_get_property_reply_t* r = xcb_get_property_reply(
      c, xcb_get_property(c, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 16), nullptr);
  QByteArray bytes;
  if (r != nullptr) {
    bytes = QByteArray(static_cast<const char*>(xcb_get_property_value(r)),
                       xcb_get_property_value_length(r));
  }
  std::free(r);
  return bytes;
}

xcb_window_t ActiveWindow() {
  const QByteArray bytes = Property(Root(), Atom("_NET_ACTIVE_WINDOW"));
  uint32_t w = 0;
  if (bytes.size() >= 4) std::memcpy(&w, bytes.constData(), 4);
  return w;
}

}  // namespace

QString Run(const QString& program, const QStringList& args, int timeoutMs) {
  QProcess p;
  // Texts in and out in UTF-8, whatever the caller's locale.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("LC_ALL", "C.UTF-8");
  p.setProcessEnvironment(env);
  p.start(program, args);
  if (!p.waitForStarted(timeoutMs)) {
    ADD_FAILURE() << program.toStdString() << " did not start";
    return {};
  }
  if (!WaitFor([&] { return p.state() == QProcess::NotRunning; }, timeoutMs)) {
    p.kill();
    p.waitForFinished(1000);
    ADD_FAILURE() << program.toStdString() << " " << args.join(' ').toStdString()
                  << " did not end within " << timeoutMs << " ms";
    return {};
  }
  EXPECT_TRUE(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
      << program.toStdString() << " " << args.join(' ').toStdString() << ": "
      << p.readAllStandardError().toStdString();
  return QString::fromUtf8(p.readAllStandardOutput());
}

bool WaitFor(const std::function<bool()>& pred, int timeoutMs) {
  QElapsedTimer t;
  t.start();
  while (!pred()) {
    if (t.elapsed() > timeoutMs) return pred();
    QTest::qWait(10);
  }
  return true;
}

void Keys(const QStringList& keys) {
  Run("xdotool", QStringList{"key", "--delay", "30"} + keys);
}

void Click(QWidget& widget) {
  ClickAt(widget, widget.rect().center());
}

void ClickAt(QWidget& widget, const QPoint& at) {
  const QPoint p = widget.mapToGlobal(at);
  // "mousemove --sync" waits for a motion, which never comes when the pointer is there
  // already: then it comes from a pixel aside, as a hand on the mouse would.
  if (QCursor::pos() == p)
    Run("xdotool", {"mousemove", "--sync", QString::number(p.x() + 1), QString::number(p.y())});
  Run("xdotool",
      {"mousemove", "--sync", QString::number(p.x()), QString::number(p.y()), "click", "1"});
}

bool Activate(QWidget& window) {
  if (window.isActiveWindow()) return true;
  window.raise();
  window.activateWindow();
  if (WaitFor([&] { return window.isActiveWindow(); }, 3000)) return true;
  // As a task bar or pager would: ask the window manager to activate it.
  Run("xdotool", {"windowactivate", QString::number(window.winId())});
  return WaitFor([&] { return window.isActiveWindow(); }, 5000);
}

bool ShowAndActivate(QWidget& window) {
  window.show();
  return QTest::qWaitForWindowExposed(&window, 5000) && Activate(window);
}

void AwaitFocusLeft(QWidget& window) {
  const auto id = static_cast<xcb_window_t>(window.winId());
  // Once the window manager has moved the focus away, the program needs a moment to take the
  // loss as final (a new focus may be on its way); a window shown again before then stays
  // inactive in the program although the X server focuses it.
  EXPECT_TRUE(WaitFor([id] { return ActiveWindow() != id; })) << "the window stays active";
  QTest::qWait(500);
}

void Hide(QWidget& window) {
  window.hide();
  AwaitFocusLeft(window);
}

QString TextProperty(unsigned long window, const char* name) {
  // xprop decodes whichever encoding the property has (UTF8_STRING, STRING, COMPOUND_TEXT)
  // and prints   NAME(TYPE) = "text"   with " and \ escaped by a backslash.
  const QString out = Run("xprop", {"-id", QString::number(window), name}).trimmed();
  const qsizetype open = out.indexOf(QLatin1String(" = \""));
  if (open < 0 || !out.endsWith(QLatin1Char('"'))) return {};
  const QString quoted = out.mid(open + 4, out.size() - open - 5);
  QString text;
  for (qsizetype i = 0; i < quoted.size(); ++i) {
    if (quoted[i] == QLatin1Char('\\') && i + 1 < quoted.size()) ++i;
    text += quoted[i];
  }
  return text;
}

void RequestClose(unsigned long window) {
  // The close box is the window manager's: it sends WM_DELETE_WINDOW to the client. Here the
  // window manager is asked to close the window (_NET_CLOSE_WINDOW, as a pager does), so the
  // message takes the very same way.
  xcb_client_message_event_t e;
  std::memset(&e, 0, sizeof e);
  e.response_type = XCB_CLIENT_MESSAGE;
  e.format = 32;
  e.window = static_cast<xcb_window_t>(window);
  e.type = Atom("_NET_CLOSE_WINDOW");
  e.data.data32[0] = XCB_CURRENT_TIME;
  e.data.data32[1] = 2;  // the request comes from a pager or a task bar
  xcb_connection_t* c = Connection();
  xcb_send_event(c, 0, Root(),
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&e));
  xcb_flush(c);
}

QList<unsigned long> ManagedWindows() {
  const QByteArray bytes = Property(Root(), Atom("_NET_CLIENT_LIST"));
  QList<unsigned long> out;
  for (qsizetype i = 0; i + 4 <= bytes.size(); i += 4) {
    uint32_t w;
    std::memcpy(&w, bytes.constData() + i, 4);
    out << w;
  }
  return out;
}

long WindowPid(unsigned long window) {
  const QByteArray bytes = Property(static_cast<xcb_window_t>(window), Atom("_NET_WM_PID"));
  if (bytes.size() < 4) return 0;
  uint32_t pid;
  std::memcpy(&pid, bytes.constData(), 4);
  return static_cast<long>(pid);
}

}  // namespace xsession
