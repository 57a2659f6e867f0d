// The document tools through the real windows offscreen: the two fills in the channel dialog's
// Auto modes, the channel clipboard between two documents, the system options and the print
// command, each undone where it changed a document.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include "app_fixture.h"
#include "channel/frm_ch_edit.h"
#include "sysoption/frm_sys_option.h"

namespace talveron::app {
namespace {

using namespace Qt::Literals::StringLiterals;
using channel::frmCh_edit;

class ToolsTest : public OfflineApp {
  protected:
    frmCh_edit* Fill(const char* command) {
        Act(command);
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
};

TEST_F(ToolsTest, FillsRunFromTheirDialogsAndRefuseWhatCannotBeWritten) {
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a1-16ch.cfg")));
    const std::vector<std::string> before = ActiveDoc().lines;
    Click({2});
    frmCh_edit* dialog = Fill("mnuEautoF");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), u"Auto Frequency (VK-A1  ,Range:140-175MHzMHz)"_s);
    EXPECT_EQ(dialog->Label1(4)->text(), u"Start Freqency  :"_s);
    EXPECT_EQ(dialog->Label1(1)->text(), u"Space Freqency  :"_s);
    EXPECT_EQ(dialog->Check1(0)->text(), u"Tx Only"_s);
    EXPECT_TRUE(dialog->Check1(2)->isChecked());
    EXPECT_TRUE(dialog->Rx_tone(0)->isHidden());
    EXPECT_EQ(dialog->Rx_freq(0)->text(), u"147.300000"_s);  // channel 3's receive side
    EXPECT_EQ(dialog->Rx_DTMF(1)->text(), u"16"_s);
    ASSERT_EQ(QApplication::focusWidget(), dialog->Rx_DTMF(0));
    Retype(dialog->Rx_DTMF(1), u"3"_s);
    QTest::keyClicks(dialog->Rx_freq(1), u"12.5"_s);
    QTest::mouseClick(dialog->Check1(0), Qt::LeftButton);  // Tx Only
    EXPECT_FALSE(dialog->Check1(2)->isChecked());
    QTest::mouseClick(dialog->Command1(), Qt::LeftButton);
    EXPECT_EQ(Line(2).substr(4, 26), before[1].substr(4, 26));
    EXPECT_EQ(Line(2).substr(29, 12), "147.312500  ");
    EXPECT_EQ(Line(3).substr(29, 12), "147.325000  ");
    const std::vector<int> selected = mdi->ActiveWindow()->SelectedRows();
    EXPECT_TRUE(std::ranges::count(selected, 0) && std::ranges::count(selected, 2));
    EXPECT_EQ(Line(4), before[3]);

    // A walk past 999 MHz is refused and the dialog stays; nothing changes.
    dialog = Fill("mnuEautoF");
    ASSERT_NE(dialog, nullptr);
    dialog->Rx_freq(0)->setText(u"999.000000"_s);
    dialog->Rx_freq(1)->setText(u"1000"_s);
    const std::vector<std::string> filled = ActiveDoc().lines;
    QTest::mouseClick(dialog->Command1(), Qt::LeftButton);
    EXPECT_EQ(Inside().Editing().ChEdit(), dialog);
    EXPECT_EQ(mdi->Status().Text(),
              u"Auto Frequency not done: Channel #2 would be outside 100-999 MHz"_s);
    EXPECT_EQ(ActiveDoc().lines, filled);
    QTest::mouseClick(dialog->Command2(), Qt::LeftButton);

    // Continual tones from 153 over channels 1 to 4: 153, 154, then 1 and 2.
    dialog = Fill("mnuEautoT");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), u"Auto Subtone"_s);
    EXPECT_TRUE(dialog->Rx_freq(0)->isHidden());
    EXPECT_EQ(dialog->Rx_tone(1)->itemText(1), u"1  Continual"_s);
    Retype(dialog->Rx_DTMF(1), u"4"_s);
    dialog->Rx_tone(0)->setCurrentIndex(153);
    dialog->Rx_tone(1)->setCurrentIndex(1);
    QTest::mouseClick(dialog->Command1(), Qt::LeftButton);
    EXPECT_EQ(Line(1).substr(16, 11), "153 =   743");
    EXPECT_EQ(Line(4).substr(41, 11), "002 =  71.9");
    Act("mnuEUndo");
    Act("mnuEUndo");
    EXPECT_EQ(ActiveDoc().lines, before);
    EXPECT_EQ(ui.Unexpected(), 0);
}

TEST_F(ToolsTest, TheClipboardMovesLinesBetweenDocumentsAndNeverReadsThePlatformOne) {
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a1-16ch.cfg")));
    const std::vector<std::string> a = ActiveDoc().lines;
    Click({2, 4});
    ui.SetClipboardText(u"abc"_s);
    Act("mnuECopy");
    EXPECT_EQ(ui.ClipboardText(), u"abc"_s + QString::fromStdString(a[2] + "\n" + a[4] + "\n"));
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a2-16ch.cfg", u"b/x.cfg"_s)));
    const std::vector<std::string> b = ActiveDoc().lines;
    const std::vector<std::uint8_t> options = ActiveDoc().state.chOpt;
    ui.SetClipboardText(u"not a channel\n"_s);
    Click({6});
    Act("mnuEPaste");
    EXPECT_EQ(Line(7), "7 " + a[2].substr(2));
    EXPECT_EQ(Line(8), "8 " + a[4].substr(2));
    EXPECT_EQ(ActiveDoc().state.chOpt, options);  // the options stay with their channels
    // Delete clears the selected lines and both clipboards; Paste then has nothing.
    Click({9});
    Act("mnuEDelete");
    EXPECT_EQ(Line(10), "10  NONE        000=  None   NONE        000=  None ");
    EXPECT_EQ(ui.ClipboardText(), QString());
    EXPECT_TRUE(Inside().ClipLinesRef().empty());
    Act("mnuEUndo");
    Act("mnuEUndo");
    EXPECT_EQ(ActiveDoc().lines, b);
    EXPECT_EQ(ui.Unexpected(), 0);
}

TEST_F(ToolsTest, SystemOptionsAndPrintWorkOnTheirDocument) {
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a1-16ch.cfg")));
    const auto head = ActiveDoc().state.head;
    Act("mnuOpSYS");
    sysoption::frmSysOption* dialog = Inside().Editing().SysOption();
    ASSERT_NE(dialog, nullptr);
    dialog->chkBeep()->click();
    dialog->cboPttTrsm()->setCurrentIndex(30);
    dialog->OKButton()->click();
    EXPECT_EQ(ActiveDoc().state.head[0x0A], head[0x0A] ^ 0x20);
    EXPECT_EQ(ActiveDoc().state.head[0x0F], 30);
    EXPECT_TRUE(ActiveDoc().state.changed);
    Act("mnuEUndo");
    EXPECT_EQ(ActiveDoc().state.head, head);
    EXPECT_FALSE(ActiveDoc().state.changed);

    // No printer here: Ctrl+P offers the plan as a PDF file.
    mdi->Printer().hasPrinter = [] { return false; };
    ui.AnswerMessage(platform::kYes);
    const QString pdf = TempPath(u"plan.pdf"_s);
    ui.AnswerSave(pdf);
    mdi->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mdi.get()));
    QTest::keyClick(mdi->ActiveWindow()->List(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].presetName, u"VK-A1-16CH.pdf"_s);
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_TRUE(mdi->Status().TimerActive());
    EXPECT_FALSE(ActiveDoc().state.changed);
    EXPECT_EQ(ui.Unexpected(), 0);
}

}  // namespace
}  // namespace talveron::app
