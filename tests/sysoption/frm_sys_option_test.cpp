// frmSysOption offscreen: the lists open on the stored settings and OK stores the choices.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <optional>

#include "image/cfg_file.h"
#include "image/channel_line.h"
#include "image/document.h"
#include "sysoption/frm_sys_option.h"

namespace talveron::sysoption {
namespace {

Document Sample16() {
    const CfgReadResult read = ReadCfgFile(TALVERON_SAMPLES "/vk-a1-16ch.cfg");
    EXPECT_TRUE(read.ok());
    return OpenDocument(read.image, read.modelCode, "A.CFG");
}

// Runs the dialog on doc, lets change() work the controls, presses OK; the head it stored.
std::optional<HeadBytes> Edit(const Document& doc,
                              const std::function<void(frmSysOption&)>& change = {}) {
    std::optional<HeadBytes> stored;
    auto* dialog = new frmSysOption(3, doc);
    dialog->onAccept = [&](int number, const HeadBytes& head) {
        EXPECT_EQ(number, 3);
        stored = head;
    };
    dialog->show();
    if (change) change(*dialog);
    dialog->OKButton()->click();
    return stored;
}

TEST(SysOptionDialog, OpensOnTheStoredSettingsAndOkStoresTheChoices) {
    Document doc = Sample16();
    doc.state.head[0x07] = 0x52;
    const HeadBytes before = doc.state.head;
    EXPECT_EQ(Edit(doc), before);  // OK without changes stores every byte again

    const auto after = Edit(doc, [](frmSysOption& d) {
        EXPECT_EQ(d.windowTitle(), "System Option Edit");
        EXPECT_EQ(d.cboSysOp(5)->currentText(), "5 s");
        EXPECT_EQ(d.cboSysOp(4)->currentText(), "3 s");
        EXPECT_EQ(d.lblSysOp(3)->text(), "Priority Sampling Cycle");
        EXPECT_EQ(d.cboSysOp(2)->itemText(1), "1");
        EXPECT_EQ(d.cboPttTrsm()->count(), 226);
        d.cboSysOp(5)->setCurrentIndex(d.cboSysOp(5)->findText("15 s"));
        d.cboSysOp(4)->setCurrentIndex(d.cboSysOp(4)->findText("1 s"));
        d.cboPttTrsm()->setCurrentIndex(d.cboPttTrsm()->findText("30"));
        d.cboSysOp(2)->setCurrentIndex(d.cboSysOp(2)->findText("7"));
        d.chkBeep()->setChecked(!d.chkBeep()->isChecked());
    });
    ASSERT_TRUE(after);
    EXPECT_EQ((*after)[0x07], 0xF0);
    EXPECT_EQ((*after)[0x0F], 30);
    EXPECT_EQ((*after)[0x05], 7);
    EXPECT_EQ((*after)[0x0A], before[0x0A] ^ 0x20);
}

TEST(SysOptionDialog, NoChannelInUseAndTheLargeMemory) {
    Document empty = Sample16();
    for (int k = 0; k < empty.BlockCount(); ++k) empty.lines[k] = EmptyChannelLine(k + 1);
    empty.state.head[0x05] = 4;
    const auto stored = Edit(empty, [](frmSysOption& d) {
        EXPECT_FALSE(d.cboSysOp(2)->isEnabled());
        EXPECT_EQ(d.cboSysOp(2)->currentText(), "OFF");
    });
    ASSERT_TRUE(stored);
    EXPECT_EQ((*stored)[0x05], 0);

    Document large = Sample16();
    while (large.BlockCount() < 99) large.lines.push_back(EmptyChannelLine(large.BlockCount() + 1));
    large.state.head[0x07] = 0x52;
    const auto kept = Edit(large, [](frmSysOption& d) {
        EXPECT_TRUE(d.lblSysOp(5)->isHidden());
        EXPECT_TRUE(d.cboSysOp(5)->isHidden());
        EXPECT_TRUE(d.chkReverse()->isHidden());
        EXPECT_FALSE(d.chkBeep()->isHidden());
        // BEEP ON stands where the Scan Attack label was.
        auto* grid = qobject_cast<QGridLayout*>(d.layout());
        ASSERT_TRUE(grid);
        int row = -1, column = -1, rows = 0, columns = 0;
        grid->getItemPosition(grid->indexOf(d.chkBeep()), &row, &column, &rows, &columns);
        int labelRow = -2, labelColumn = -2;
        grid->getItemPosition(grid->indexOf(d.lblSysOp(5)), &labelRow, &labelColumn, &rows,
                              &columns);
        EXPECT_EQ(std::pair(row, column), std::pair(labelRow, labelColumn));
    });
    ASSERT_TRUE(kept);
    EXPECT_EQ((*kept)[0x07], 0x02);
}

}  // namespace
}  // namespace talveron::sysoption
