// The titles as the X server holds them for the window manager, with the
// program's own application set-up: what Qt hands the window system may
// differ from windowTitle() (it appends the application's display name).
// Runs under Xvfb with Qt's X11 platform.
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "application_setup.h"
#include "encoder_setup_form.h"
#include "main_form_fixture.h"

namespace quillon {
namespace {

template <class Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* x, const char* name) {
  const Owned<xcb_intern_atom_reply_t> reply(
      xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, std::strlen(name), name), nullptr),
      &std::free);
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

QString ShownTitle(QWidget& window) {
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* x = x11->connection();
  const Owned<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(x,
                             xcb_get_property(x, 0, static_cast<xcb_window_t>(window.winId()),
                                              Atom(x, "_NET_WM_NAME"), Atom(x, "UTF8_STRING"), 0,
                                              1024),
                             nullptr),
      &std::free);
  if (!reply) return {};
  return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.get())),
                           xcb_get_property_value_length(reply.get()));
}

TEST_F(MainFormTest, TitlesReachTheWindowSystemAsTheProgramGivesThem) {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run under an X server";
  SetUpApplication();
  StartLive();
  EXPECT_EQ(ShownTitle(*form_), kLiveTitle);
  Key(Qt::Key_F3);
  Finish(8);
  EXPECT_EQ(ShownTitle(*form_), kPlotLiveTitle);
  Key(Qt::Key_F2);
  Finish(11);
  Key(Qt::Key_F11);
  ASSERT_TRUE(form_->EncoderSetupForm->isVisible());
  EXPECT_EQ(ShownTitle(*form_->EncoderSetupForm), "Encoder Setup");
  QTest::keyClick(form_->EncoderSetupForm, Qt::Key_Escape);

  questions_.handler = [](const Question&) { return Answer::No; };
  emulator_->PullCable();
  ASSERT_TRUE(Eventually([&] { return form_->DemoMode; }));
  EXPECT_EQ(ShownTitle(*form_), kDemoTitle);
}

}  // namespace
}  // namespace quillon
