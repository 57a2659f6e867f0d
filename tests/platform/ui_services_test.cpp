// The message boxes the program shows: the real QMessageBox built from a request (buttons,
// icon, default button, title, text, the answer given back, the busy pointer lifted while the
// user answers), and the scripted stand-in the program's tests answer with.
#include <gtest/gtest.h>

#include <QtWidgets>

#include "platform/scripted_ui_services.h"
#include "qt_test_util.h"

namespace talveron::platform {
namespace {

using namespace Qt::Literals::StringLiterals;

// Each request shows as a box with its title (a blank one for none), text and default button;
// icons and button sets map one to one, and closing the box (NoButton) counts as Cancel, or No
// without Cancel.
TEST(QtMessageBox, ShowsTheRequestAndReturnsTheButtonPressed) {
    using Box = QMessageBox;
    const unsigned kYn = kYes | kNo, kYnc = kYes | kNo | kCancel;
    const Box::StandardButtons yn = Box::Yes | Box::No, ync = yn | Box::Cancel;
    const QString text = u"Error warning: Band are Crossed !\nDo you want to continue ?"_s,
                  title = u"TEMP1.CFG"_s;
    const struct {
        MessageRequest request;  // default kNoButton: the first button, not checked here
        Box::StandardButtons qtButtons;
        Box::Icon qtIcon;
        Box::StandardButton press;
        MsgButton answer;
    } cases[] = {
        {{text, title, kYn, MsgIcon::Critical, kNo}, yn, Box::Critical, Box::Yes, kYes},
        {{text, {}, kOk, MsgIcon::None}, Box::Ok, Box::NoIcon, Box::Ok, kOk},
        {{text, title, kYnc, MsgIcon::Exclamation}, ync, Box::Warning, Box::NoButton, kCancel},
        {{text, title, kYn, MsgIcon::Question}, yn, Box::Question, Box::NoButton, kNo},
        {{text, title, kOk, MsgIcon::Information}, Box::Ok, Box::Information, Box::Ok, kOk},
    };
    QtUiServices ui;
    ui.SetBusy(true);
    ui.SetBusy(true);  // not nested: one "normal" below ends it
    for (const auto& c : cases) {
        QTimer::singleShot(0, [&c] {
            QMessageBox* box = nullptr;
            testing::WaitUntil([&] {
                return (box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
            });
            ASSERT_NE(box, nullptr);
            const QString title = c.request.title.isEmpty() ? u" "_s : c.request.title;
            EXPECT_TRUE(box->windowTitle() == title && box->text() == c.request.text);
            EXPECT_TRUE(box->standardButtons() == c.qtButtons && box->icon() == c.qtIcon);
            EXPECT_TRUE(c.request.defaultButton != kNo ||
                        box->standardButton(box->defaultButton()) == Box::No);
            EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the arrow while the user answers
            c.press == Box::NoButton ? box->reject() : box->button(c.press)->click();
        });
        EXPECT_EQ(ui.Message(c.request), c.answer);
    }
    EXPECT_TRUE(ui.Busy());
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.SetBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The app tests lean on the scripted stand-in answering in order and recording every
// request; here: what it answers when nothing was scripted, and that such questions count.
TEST(ScriptedServices, AnswersInOrderAndRefusesAndCountsUnexpectedQuestions) {
    ScriptedUiServices ui;
    ui.AnswerMessage(kNo);
    ui.AnswerOpen(u"/tmp/a.cfg"_s);
    const MessageRequest yn{{}, {}, kYes | kNo}, ync{{}, {}, kYes | kNo | kCancel};
    EXPECT_EQ(ui.PendingAnswers(), 2u);
    EXPECT_EQ(ui.Message(yn), kNo);
    EXPECT_EQ(ui.OpenFileName({}), u"/tmp/a.cfg"_s);
    EXPECT_EQ(ui.PendingAnswers() + ui.Unexpected(), 0u);
    const std::vector<MsgButton> answers{ui.Message(ync), ui.Message(yn), ui.Message({})};
    EXPECT_EQ(answers, (std::vector<MsgButton>{kCancel, kNo, kOk}));
    EXPECT_TRUE(ui.SaveFileName({}).isEmpty() && ui.OpenFileName({}).isEmpty());
    EXPECT_EQ(std::pair(ui.Unexpected(), ui.Messages().size()), std::pair(5, std::size_t{4}));
    ui.ClearRecords();
    EXPECT_TRUE(ui.Unexpected() == 0 && ui.Messages().empty());
}

}  // namespace
}  // namespace talveron::platform
