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
    const struct {
        unsigned buttons;
        MsgIcon icon;
        MsgButton defaultButton;  // kNoButton: the first button, not checked here
        Box::StandardButtons qtButtons;
        Box::Icon qtIcon;
        Box::StandardButton press;
        MsgButton answer;
    } cases[] = {
        {kYes | kNo, MsgIcon::Critical, kNo, Box::Yes | Box::No, Box::Critical, Box::Yes, kYes},
        {kOk, MsgIcon::None, kNoButton, Box::Ok, Box::NoIcon, Box::Ok, kOk},
        {kYes | kNo | kCancel, MsgIcon::Exclamation, kNoButton, Box::Yes | Box::No | Box::Cancel,
         Box::Warning, Box::Cancel, kCancel},
        {kYes | kNo, MsgIcon::Question, kNoButton, Box::Yes | Box::No, Box::Question, Box::No, kNo},
        {kOk, MsgIcon::Information, kNoButton, Box::Ok, Box::Information, Box::Ok, kOk},
        {kYes | kNo | kCancel, MsgIcon::None, kNoButton, Box::Yes | Box::No | Box::Cancel,
         Box::NoIcon, Box::NoButton, kCancel},
        {kYes | kNo, MsgIcon::None, kNoButton, Box::Yes | Box::No, Box::NoIcon, Box::NoButton, kNo},
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

TEST(QtClipboard, SetAndReadBack) {
    QtUiServices ui;
    ui.SetClipboardText(QStringLiteral("1   145.000000"));
    EXPECT_EQ(ui.ClipboardText(), QStringLiteral("1   145.000000"));
    ui.SetClipboardText(QString());
    EXPECT_TRUE(ui.ClipboardText().isEmpty());
}

TEST(ScriptedServices, AnswersInOrderAndRecordsEveryQuestion) {
    ScriptedUiServices ui;
    ui.AnswerMessage(kNo);
    ui.AnswerMessage(kYes);
    ui.AnswerOpen(QStringLiteral("/tmp/a.cfg"));
    ui.AnswerSave(QStringLiteral("/tmp/b.cfg"));
    int hookCalls = 0;
    ui.onMessage = [&](const MessageRequest& r) {
        ++hookCalls;
        EXPECT_FALSE(r.text.isEmpty());
    };
    MessageRequest first;
    first.text = QStringLiteral("one");
    first.buttons = kYes | kNo;
    first.icon = MsgIcon::Question;
    MessageRequest second = first;
    second.text = QStringLiteral("two");
    EXPECT_EQ(ui.Message(first), kNo);
    EXPECT_EQ(ui.Message(second), kYes);
    FileRequest open;
    open.presetName = QStringLiteral("preset");
    EXPECT_EQ(ui.OpenFileName(open), QStringLiteral("/tmp/a.cfg"));
    EXPECT_EQ(ui.SaveFileName(open), QStringLiteral("/tmp/b.cfg"));
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[1].text, QStringLiteral("two"));
    EXPECT_EQ(ui.OpenRequests()[0].presetName, QStringLiteral("preset"));
    EXPECT_EQ(hookCalls, 2);
    EXPECT_EQ(ui.Unexpected(), 0);
    EXPECT_EQ(ui.PendingAnswers(), 0u);
}

TEST(ScriptedServices, AnUnexpectedQuestionIsRefusedAndCounted) {
    ScriptedUiServices ui;
    MessageRequest ync;
    ync.buttons = kYes | kNo | kCancel;
    EXPECT_EQ(ui.Message(ync), kCancel);
    MessageRequest yn;
    yn.buttons = kYes | kNo;
    EXPECT_EQ(ui.Message(yn), kNo);
    EXPECT_EQ(ui.Message(MessageRequest{}), kOk);
    EXPECT_TRUE(ui.SaveFileName(FileRequest{}).isEmpty());
    EXPECT_TRUE(ui.OpenFileName(FileRequest{}).isEmpty());
    EXPECT_EQ(ui.Unexpected(), 5);
    ui.ClearRecords();
    EXPECT_EQ(ui.Unexpected(), 0);
    EXPECT_TRUE(ui.Messages().empty());
}

}  // namespace
}  // namespace talveron::platform
