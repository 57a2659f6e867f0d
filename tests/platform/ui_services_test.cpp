// The message boxes and dialogs the program shows: the real QMessageBox built from a request
// (buttons, icon, default button, title, text, the answer given back), and the scripted
// stand-in the program's tests answer with.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/scripted_ui_services.h"
#include "platform/ui_services.h"
#include "qt_test_util.h"

namespace talveron::platform {
namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Waits for the modal box, notes what it shows and presses the given button (or closes it
// with Escape when press is NoButton).
void AnswerBoxLater(SeenBox& seen, QMessageBox::StandardButton press) {
    QTimer::singleShot(0, [&seen, press] {
        QMessageBox* box = nullptr;
        testing::WaitUntil([&] {
            box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            return box != nullptr;
        });
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton())
                                                  : QMessageBox::NoButton;
        if (press == QMessageBox::NoButton)
            box->reject();
        else
            box->button(press)->click();
    });
}

// Each request shows as a box with the same title, text and default button, icons and button
// sets map one to one, and closing the box (NoButton) counts as Cancel, or No without Cancel.
TEST(QtMessageBox, ShowsTheRequestAndReturnsTheButtonPressed) {
    using Box = QMessageBox;
    const unsigned kYn = kYes | kNo, kYnc = kYes | kNo | kCancel;
    const Box::StandardButtons yn = Box::Yes | Box::No, ync = Box::Yes | Box::No | Box::Cancel;
    const struct {
        unsigned buttons;
        MsgIcon icon;
        MsgButton defaultButton;  // kNoButton: the first button, not checked here
        Box::StandardButtons qtButtons;
        Box::Icon qtIcon;
        Box::StandardButton press;
        MsgButton answer;
    } cases[] = {
        {kYn, MsgIcon::Critical, kNo, yn, Box::Critical, Box::Yes, kYes},
        {kOk, MsgIcon::None, kNoButton, Box::Ok, Box::NoIcon, Box::Ok, kOk},
        {kYnc, MsgIcon::Exclamation, kNoButton, ync, Box::Warning, Box::Cancel, kCancel},
        {kYn, MsgIcon::Question, kNoButton, yn, Box::Question, Box::No, kNo},
        {kOk, MsgIcon::Information, kNoButton, Box::Ok, Box::Information, Box::Ok, kOk},
        {kYnc, MsgIcon::None, kNoButton, ync, Box::NoIcon, Box::NoButton, kCancel},
        {kYn, MsgIcon::None, kNoButton, yn, Box::NoIcon, Box::NoButton, kNo},
    };
    QtUiServices ui;
    for (const auto& c : cases) {
        MessageRequest request;
        request.text =
            QStringLiteral("Error warning: Band are Crossed !\nDo you want to continue ?");
        request.title = QStringLiteral("TEMP1.CFG");
        request.buttons = c.buttons;
        request.icon = c.icon;
        request.defaultButton = c.defaultButton;
        SeenBox seen;
        AnswerBoxLater(seen, c.press);
        EXPECT_EQ(ui.Message(request), c.answer);
        EXPECT_EQ(seen.title, request.title);
        EXPECT_EQ(seen.text, request.text);
        EXPECT_EQ(seen.buttons, c.qtButtons);
        EXPECT_EQ(seen.icon, c.qtIcon);
        if (c.defaultButton == kNo) EXPECT_EQ(seen.defaultButton, Box::No);
    }
}

TEST(QtMessageBox, TheBusyPointerIsLiftedWhileTheUserAnswers) {
    QtUiServices ui;
    ui.SetBusy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    bool arrowWhileAsking = false;
    QTimer::singleShot(0, [&] {
        testing::WaitUntil([] { return QApplication::activeModalWidget() != nullptr; });
        arrowWhileAsking = QApplication::overrideCursor() == nullptr;
        qobject_cast<QMessageBox*>(QApplication::activeModalWidget())->accept();
    });
    MessageRequest request;
    request.text = QStringLiteral("x");
    ui.Message(request);
    EXPECT_TRUE(arrowWhileAsking);
    EXPECT_TRUE(ui.Busy());
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.SetBusy(false);
    ui.SetBusy(false);  // not nested: a second "normal" does not pop a foreign cursor
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The app tests lean on the scripted stand-in answering in order and recording every
// request; here: what it answers when nothing was scripted, and that such questions count.
TEST(ScriptedServices, AnswersInOrderAndRefusesAndCountsUnexpectedQuestions) {
    ScriptedUiServices ui;
    ui.AnswerMessage(kNo);
    ui.AnswerOpen(QStringLiteral("/tmp/a.cfg"));
    MessageRequest yn;
    yn.buttons = kYes | kNo;
    EXPECT_EQ(ui.PendingAnswers(), 2u);
    EXPECT_EQ(ui.Message(yn), kNo);
    EXPECT_EQ(ui.OpenFileName(FileRequest{}), QStringLiteral("/tmp/a.cfg"));
    EXPECT_EQ(ui.PendingAnswers(), 0u);
    EXPECT_EQ(ui.Unexpected(), 0);
    MessageRequest ync;
    ync.buttons = kYes | kNo | kCancel;
    EXPECT_EQ(ui.Message(ync), kCancel);
    EXPECT_EQ(ui.Message(yn), kNo);
    EXPECT_EQ(ui.Message(MessageRequest{}), kOk);
    EXPECT_TRUE(ui.SaveFileName(FileRequest{}).isEmpty());
    EXPECT_TRUE(ui.OpenFileName(FileRequest{}).isEmpty());
    EXPECT_EQ(ui.Unexpected(), 5);
    EXPECT_EQ(ui.Messages().size(), 4u);
    ui.ClearRecords();
    EXPECT_EQ(ui.Unexpected(), 0);
    EXPECT_TRUE(ui.Messages().empty());
}

}  // namespace
}  // namespace talveron::platform
