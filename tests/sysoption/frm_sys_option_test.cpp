// The system options through the real windows offscreen: Option > System opens the dialog on
// the document's head with its texts (tests/data/desktop/window_texts.txt), and OK stores the
// choices and nothing else as one step to undo; also for a document without channels in use
// and for the 99-channel memory.
#include <QtWidgets>

#include "app_fixture.h"
#include "image/channel_line.h"
#include "qt_test_util.h"
#include "sysoption/frm_sys_option.h"

namespace talveron::app {
namespace {

using sysoption::frmSysOption;

class SysOptionTest : public OfflineApp {
  protected:
    // Option > System on the active document, change() on the dialog, OK; the head after.
    HeadBytes Edit(const std::function<void(frmSysOption&)>& change) {
        Act("mnuOpSYS");
        frmSysOption* dialog = Inside().Editing().SysOption();
        EXPECT_NE(dialog, nullptr);
        if (!dialog) return {};
        change(*dialog);
        dialog->OKButton()->click();
        return ActiveDoc().state.head;
    }
};

TEST_F(SysOptionTest, TheDialogOpensOnTheHeadAndOkStoresTheChoicesAsOneStep) {
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a1-16ch.cfg")));
    ActiveDoc().state.head[0x07] = 0x52;
    const HeadBytes before = ActiveDoc().state.head;
    HeadBytes expected = before;
    expected[0x07] = 0xF0;
    expected[0x0A] ^= 0x20;
    EXPECT_EQ(Edit([](frmSysOption& d) {
                  EXPECT_EQ(testing::WrongTexts(d, u"sysoption"_qs), "");
                  EXPECT_EQ(d.cboPttTrsm()->count(), 226);
                  d.cboSysOp(5)->setCurrentIndex(d.cboSysOp(5)->findText("15 s"));
                  d.cboSysOp(4)->setCurrentIndex(d.cboSysOp(4)->findText("1 s"));
                  d.chkBeep()->click();
              }),
              expected);
    EXPECT_TRUE(ActiveDoc().state.changed);
    Act("mnuEUndo");
    EXPECT_EQ(ActiveDoc().state.head, before);
    EXPECT_FALSE(ActiveDoc().state.changed);

    // No channel in use: no priority channel.
    for (int k = 0; k < 16; ++k) ActiveDoc().lines[k] = EmptyChannelLine(k + 1);
    ActiveDoc().state.head[0x05] = 4;
    EXPECT_EQ(Edit([](frmSysOption& d) {
                  EXPECT_FALSE(d.cboSysOp(2)->isEnabled());
                  EXPECT_EQ(d.cboSysOp(2)->currentText(), "OFF");
              })[0x05],
              0);
    // 99 channels: no scan attack timer and no reverse burst; BEEP ON stands where the Scan
    // Attack label was.
    while (ActiveDoc().BlockCount() < 99)
        ActiveDoc().lines.push_back(EmptyChannelLine(ActiveDoc().BlockCount() + 1));
    EXPECT_EQ(Edit([](frmSysOption& d) {
                  EXPECT_EQ(testing::WrongTexts(d, u"sysoption99"_qs), "");
                  auto* grid = qobject_cast<QGridLayout*>(d.layout());
                  ASSERT_TRUE(grid);
                  const auto cell = [grid](QWidget* w) {
                      int row = -1, column = -1, rows = 0, columns = 0;
                      grid->getItemPosition(grid->indexOf(w), &row, &column, &rows, &columns);
                      return std::pair(row, column);
                  };
                  EXPECT_EQ(cell(d.chkBeep()), cell(d.lblSysOp(5)));
                  EXPECT_NE(cell(d.chkBeep()).first, -1);
              })[0x07],
              0x02);
    EXPECT_EQ(ui.Unexpected(), 0);
}

}  // namespace
}  // namespace talveron::app
