// Channel editing through the real windows offscreen: the channel dialog typed from the
// keyboard, its refusals and its life beside the document window, an option chosen with the
// mouse, both undone and saved byte for byte as before; then the fills of the
// dialog's Auto modes and the channel clipboard between two documents. The texts of every
// dialog are in tests/data/desktop/window_texts.txt.
#include <QTest>
#include <QtWidgets>

#include "app_fixture.h"
#include "channel/frm_ch_edit.h"
#include "channel/frm_ch_option.h"
#include "channel/frm_set_ch_op.h"
#include "qt_test_util.h"

namespace talveron::app {
namespace {

using namespace Qt::Literals::StringLiterals;
using channel::frmCh_edit;

class ChannelTest : public OfflineApp {
  protected:
    // The channel dialog once it is the active window; nullptr when none opened.
    frmCh_edit* Dialog() {
        frmCh_edit* dialog = Inside().Editing().ChEdit();
        return dialog && QTest::qWaitForWindowActive(dialog) ? dialog : nullptr;
    }
    // Empties a box from the keyboard and types into it.
    static void Retype(QLineEdit* box, const QString& text) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_End);
        while (!box->text().isEmpty()) QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    // Enter on a line of the active document window.
    void Enter(int row) {
        QAbstractItemView* list = mdi->ActiveWindow()->List();
        list->setCurrentIndex(list->model()->index(row, 0));
        QTest::keyClick(list, Qt::Key_Return);
    }
};

TEST_F(ChannelTest, TheDialogsEditTheirChannelsAndTheToolsTheirDocuments) {
    const QString path = CopySample("vk-a1-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(path));
    const QByteArray original = ReadFile(path);
    Click({2}, true);
    frmCh_edit* dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->windowTitle().startsWith(u"Channel No.3 ("_s));
    // A tone number past the list is refused on leaving, with the toolkit's own title.
    ASSERT_EQ(QApplication::focusWidget(), dialog->Rx_freq(0));
    Press(Qt::Key_Tab);
    Type(u"155"_s);
    ui.AnswerMessage(platform::kOk);
    Press(Qt::Key_Tab);
    ASSERT_TRUE(testing::WaitUntil([&] { return !ui.Messages().empty(); }));
    EXPECT_TRUE(BoxIs(ui.Messages()[0], u"Input Err! Maximun Number is 154"_s, u""_s, platform::kOk,
                      platform::MsgIcon::None));
    EXPECT_EQ(QApplication::focusWidget(), dialog->Rx_tone(0));
    QTest::mouseClick(dialog->Command1(), Qt::LeftButton);  // not stored while it is wrong
    EXPECT_EQ(Inside().Editing().ChEdit(), dialog);
    dialog->Rx_tone(0)->setEditText(QString());
    Type(u"7"_s);
    Press(Qt::Key_Tab);
    EXPECT_TRUE(testing::WaitUntil([&] { return dialog->Rx_tone(0)->currentIndex() == 7; }));
    // RX ONLY by the mouse, with the transmit side's verdict taken back.
    QTest::mouseClick(dialog->Check1(1), Qt::LeftButton);
    EXPECT_EQ(dialog->Rx_freq(1)->text(), u"NONE"_s);
    EXPECT_EQ(dialog->Rx_tone(1)->currentText(), u"000 No Tone"_s);

    // Enter on channel 5 opens it instead; channel 3 is dropped unstored.
    const std::string three = Line(3);
    Enter(4);
    dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(testing::WrongTexts(*dialog, u"channel"_s), "");
    EXPECT_EQ(Line(3), three);
    EXPECT_FALSE(mdi->Status().TimerActive());
    ASSERT_EQ(QApplication::focusWidget(), dialog->Rx_freq(0));
    // A first digit out of the band: the verdict and a beep; then the frequency.
    Type(u"2"_s);
    EXPECT_EQ(mdi->Status().Text(), u"Rx Freqency Out of Range !"_s);
    EXPECT_EQ(ui.Beeps(), 1);
    Press(Qt::Key_Home);
    Type(u"146012"_s);  // over the point, and the raster digits completed
    EXPECT_EQ(dialog->Rx_freq(0)->text(), u"146.012500"_s);
    EXPECT_EQ(dialog->Rx_freq(0)->cursorPosition(), 7);
    EXPECT_EQ(mdi->Status().Text(), QString());
    // Rx frequency, Rx call guard, Tx frequency, Tx call guard, OK.
    for (const QString& keys : {u"12"_s, u"147"_s, u"51"_s}) {
        Press(Qt::Key_Return);
        Type(keys);
    }
    Press(Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), dialog->Command1());
    Press(Qt::Key_Return);
    const std::string edited = "5   146.012500  012=  100.0  147.006250  051=  023    ";
    EXPECT_EQ(Line(5), edited);
    EXPECT_TRUE(testing::WaitUntil([&] { return Inside().Editing().ChEdit() == nullptr; }));
    EXPECT_TRUE(mdi->Status().TimerActive());
    EXPECT_EQ(mdi->Status().Text(), u"ALL Channels In Range"_s);
    EXPECT_TRUE(mdi->ActiveWindow()->List()->selectionModel()->isRowSelected(4, {}));

    // Option > Channel, then the mouse: 25.0K and LOW for channel 5.
    Act("mnuOpCH");
    channel::frmCHoption* options = Inside().Editing().OptionList();
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(testing::WrongTexts(*options, u"optionlist"_s), "");
    QListWidget* lines = options->lstCHoption();
    ASSERT_EQ(lines->count(), 15);  // channel 16 has no receive frequency
    const QPoint five = lines->visualItemRect(lines->item(4)).center();
    QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, five);
    QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, five);
    channel::frmSetChOP* edit = Inside().Editing().OptionEdit();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(testing::WrongTexts(*edit, u"optionedit"_s), "");
    EXPECT_TRUE(edit->optChOption(0)->isChecked() && edit->optChOption(2)->isChecked());
    QTest::mouseClick(edit->optChOption(1), Qt::LeftButton);
    QTest::mouseClick(edit->optChOption(3), Qt::LeftButton);
    QTest::mouseClick(edit->cmdOkBT(0), Qt::LeftButton);
    EXPECT_EQ(lines->item(4)->text(), u"05 25.0K    L    OFF  ON "_s);
    EXPECT_TRUE(lines->item(4)->isSelected());

    Act("mnuFSave");
    EXPECT_NE(ReadFile(path), original);
    // Both undone: the option list follows, and the file saves as it was.
    Act("mnuEUndo");
    Act("mnuEUndo");
    EXPECT_FALSE(mdi->ActiveWindow()->Action(u"mnuEUndo"_s)->isEnabled());
    EXPECT_EQ(lines->item(4)->text(), u"05 12.5K    H    OFF  ON "_s);
    EXPECT_TRUE(ActiveDoc().state.changed);
    Act("mnuFSave");
    EXPECT_EQ(ReadFile(path), original);
    Act("mnuERedo");  // one step back towards the saved edit
    EXPECT_EQ(Line(5), edited);

    // Closing the document window closes its dialog without storing; Timer1 runs again.
    Act("mnuFSave");
    Enter(9);
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_FALSE(mdi->Status().TimerActive());
    Dialog()->Rx_freq(0)->setText(u"NONE"_s);
    mdi->SubWindow(mdi->ActiveNumber())->close();
    EXPECT_TRUE(testing::WaitUntil([&] { return Inside().Editing().ChEdit() == nullptr; }));
    EXPECT_TRUE(mdi->Status().TimerActive());

    // The fills and the channel clipboard.
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a1-16ch.cfg", u"a/vk-a1-16ch.cfg"_s)));
    const std::vector<std::string> a = ActiveDoc().lines;
    Click({2});
    Act("mnuEautoF");
    dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(testing::WrongTexts(*dialog, u"autofreq"_s), "");
    ASSERT_EQ(QApplication::focusWidget(), dialog->Rx_DTMF(0));
    Retype(dialog->Rx_DTMF(1), u"3"_s);
    QTest::keyClicks(dialog->Rx_freq(1), u"12.5"_s);
    EXPECT_TRUE(dialog->Check1(2)->isChecked());
    QTest::mouseClick(dialog->Check1(0), Qt::LeftButton);  // Tx Only
    EXPECT_FALSE(dialog->Check1(2)->isChecked());
    QTest::mouseClick(dialog->Command1(), Qt::LeftButton);
    EXPECT_EQ(Line(2).substr(4, 26), a[1].substr(4, 26));
    EXPECT_EQ(Line(2).substr(29, 12), "147.312500  ");
    EXPECT_EQ(Line(4), a[3]);
    const std::vector<int> selected = mdi->ActiveWindow()->SelectedRows();
    EXPECT_TRUE(std::ranges::count(selected, 0) && std::ranges::count(selected, 2));
    // A walk past 999 MHz is refused and the dialog stays; nothing changes.
    Act("mnuEautoF");
    dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    dialog->Rx_freq(0)->setText(u"999.000000"_s);
    dialog->Rx_freq(1)->setText(u"1000"_s);
    const std::vector<std::string> filled = ActiveDoc().lines;
    QTest::mouseClick(dialog->Command1(), Qt::LeftButton);
    EXPECT_EQ(Inside().Editing().ChEdit(), dialog);
    EXPECT_EQ(mdi->Status().Text(),
              u"Auto Frequency not done: Channel #2 would be outside 100-999 MHz"_s);
    EXPECT_EQ(ActiveDoc().lines, filled);
    // Continual tones from 153 over channels 1 to 4: 153, 154, then 1 and 2.
    Act("mnuEautoT");
    dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(testing::WrongTexts(*dialog, u"autotone"_s), "");
    Retype(dialog->Rx_DTMF(1), u"4"_s);
    dialog->Rx_tone(0)->setCurrentIndex(153);
    dialog->Rx_tone(1)->setCurrentIndex(1);
    QTest::mouseClick(dialog->Command1(), Qt::LeftButton);
    EXPECT_EQ(Line(1).substr(16, 11), "153 =   743");
    EXPECT_EQ(Line(4).substr(41, 11), "002 =  71.9");
    Act("mnuEUndo");
    Act("mnuEUndo");
    EXPECT_EQ(ActiveDoc().lines, a);

    // Copy adds to the platform's clipboard and Paste never reads it; the options stay with
    // their channels; Delete clears the lines and both clipboards.
    Click({2, 4});
    ui.SetClipboardText(u"abc"_s);
    Act("mnuECopy");
    EXPECT_EQ(ui.ClipboardText(), u"abc"_s + QString::fromStdString(a[2] + "\n" + a[4] + "\n"));
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a2-16ch.cfg", u"b/x.cfg"_s)));
    const Document b = ActiveDoc();
    ui.SetClipboardText(u"not a channel\n"_s);
    Click({6});
    Act("mnuEPaste");
    EXPECT_EQ(Line(7), "7 " + a[2].substr(2));
    EXPECT_EQ(Line(8), "8 " + a[4].substr(2));
    EXPECT_EQ(ActiveDoc().state.chOpt, b.state.chOpt);
    Click({9});
    Act("mnuEDelete");
    EXPECT_EQ(Line(10), "10  NONE        000=  None   NONE        000=  None ");
    EXPECT_EQ(ui.ClipboardText(), QString());
    EXPECT_TRUE(Inside().ClipLinesRef().empty());
    Act("mnuEUndo");
    Act("mnuEUndo");
    EXPECT_EQ(ActiveDoc().lines, b.lines);

    EXPECT_EQ(ui.Unexpected(), 0);
}

}  // namespace
}  // namespace talveron::app
