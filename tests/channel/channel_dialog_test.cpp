// Channel editing through the real windows offscreen: a channel typed from the keyboard and an
// option chosen with the mouse, saved and read back with talveron-cli, both undone and saved
// byte for byte as before; and the dialog's caption, verdicts, refusals and life on the way.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app_fixture.h"
#include "channel/frm_ch_edit.h"
#include "channel/frm_ch_option.h"
#include "channel/frm_set_ch_op.h"
#include "programs.h"
#include "qt_test_util.h"

namespace talveron::app {
namespace {

using namespace Qt::Literals::StringLiterals;
using channel::frmCh_edit;

class ChannelEditTest : public OfflineApp {
  protected:
    // Opens a copy of the sample and double-clicks the line of a channel.
    frmCh_edit* OpenChannel(int channel) {
        path = CopySample("vk-a1-16ch.cfg");
        if (!OpenThroughMenu(path)) return nullptr;
        Click({channel - 1}, true);
        frmCh_edit* dialog = Inside().Editing().ChEdit();
        return dialog && QTest::qWaitForWindowActive(dialog) ? dialog : nullptr;
    }
    QString path;
};

TEST_F(ChannelEditTest, AChannelAndAnOptionAreEditedSavedAndUndoneByteForByte) {
    frmCh_edit* dialog = OpenChannel(5);
    ASSERT_NE(dialog, nullptr);
    const QByteArray original = ReadFile(path);
    EXPECT_EQ(dialog->windowTitle(), u"Channel No.5 (VK-A1  ,Range:140-175MHzMHz)"_s);
    EXPECT_EQ(dialog->Rx_freq(1)->text(), u"150.006250"_s);
    EXPECT_EQ(dialog->Rx_tone(1)->currentText(), u"154 CDCSS   754"_s);
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
    EXPECT_EQ(options->windowTitle(), u"List of Channel Option "_s);
    EXPECT_EQ(options->lblTitle()->text(), u"CH SPACE  RF_PWR BCLO SCAN "_s);
    QListWidget* lines = options->lstCHoption();
    ASSERT_EQ(lines->count(), 15);  // channel 16 has no receive frequency
    const QPoint five = lines->visualItemRect(lines->item(4)).center();
    QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, five);
    QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, five);
    channel::frmSetChOP* edit = Inside().Editing().OptionEdit();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->windowTitle(), u"Channel 5 Option Edit"_s);
    EXPECT_TRUE(edit->optChOption(0)->isChecked() && edit->optChOption(2)->isChecked());
    QTest::mouseClick(edit->optChOption(1), Qt::LeftButton);
    QTest::mouseClick(edit->optChOption(3), Qt::LeftButton);
    QTest::mouseClick(edit->cmdOkBT(0), Qt::LeftButton);
    EXPECT_EQ(lines->item(4)->text(), u"05 25.0K    L    OFF  ON "_s);
    EXPECT_TRUE(lines->item(4)->isSelected());

    Act("mnuFSave");
    const std::string shown = test::RunCli({"show", path.toStdString()}).out;
    EXPECT_NE(shown.find("\n" + edited + "\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\n05 25.0K    L    OFF  ON \n"), std::string::npos) << shown;

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
    EXPECT_EQ(ui.Unexpected(), 0);
}

TEST_F(ChannelEditTest, TheDialogRefusesBadTonesAndBelongsToItsWindow) {
    frmCh_edit* dialog = OpenChannel(3);
    ASSERT_NE(dialog, nullptr);
    for (QWidget* hidden : std::initializer_list<QWidget*>{dialog->Rx_DTMF(0), dialog->Rx_DTMF(1),
                                                           dialog->Check1(0), dialog->Label1(4)})
        EXPECT_TRUE(hidden->isHidden());
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
    EXPECT_EQ(dialog->Rx_tone(0)->currentText(), u"007 CTCSS  85.4"_s);

    // RX ONLY by the mouse, with the transmit side's verdict taken back.
    QTest::mouseClick(dialog->Check1(1), Qt::LeftButton);
    EXPECT_EQ(dialog->Rx_freq(1)->text(), u"NONE"_s);
    EXPECT_EQ(dialog->Rx_tone(1)->currentText(), u"000 No Tone"_s);

    // Enter on another line opens that line instead; the first is dropped unstored.
    const std::string before = Line(3);
    QAbstractItemView* list = mdi->ActiveWindow()->List();
    list->setCurrentIndex(list->model()->index(9, 0));
    QTest::keyClick(list, Qt::Key_Return);
    frmCh_edit* second = Inside().Editing().ChEdit();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, dialog);
    EXPECT_TRUE(second->windowTitle().startsWith(u"Channel No.10 ("_s));
    EXPECT_EQ(Line(3), before);
    EXPECT_FALSE(mdi->Status().TimerActive());
    // Closing its document window closes it without storing; Timer1 runs again.
    second->Rx_freq(0)->setText(u"NONE"_s);
    mdi->SubWindow(mdi->ActiveNumber())->close();
    EXPECT_TRUE(testing::WaitUntil([&] { return Inside().Editing().ChEdit() == nullptr; }));
    EXPECT_TRUE(mdi->Status().TimerActive());
    EXPECT_EQ(ui.Unexpected(), 0);
}

}  // namespace
}  // namespace talveron::app
