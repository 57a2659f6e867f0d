// frmSysOption offscreen: its texts, the lists opened on the stored settings and what OK
// stores, also for a document without channels in use and for the 99-channel memory.
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
#include "qt_test_util.h"
#include "sysoption/frm_sys_option.h"

namespace talveron::sysoption {
namespace {

// vk-a1-16ch.cfg with its scan timers at 0x52.
Document Sample() {
    const CfgReadResult read = ReadCfgFile(TALVERON_SAMPLES "/vk-a1-16ch.cfg");
    EXPECT_TRUE(read.ok());
    Document doc = OpenDocument(read.image, read.modelCode, "A.CFG");
    doc.state.head[0x07] = 0x52;
    return doc;
}

// Opens the dialog on doc, lets change() work the controls, presses OK; the head it stored.
std::optional<HeadBytes> Edit(const Document& doc,
                              const std::function<void(frmSysOption&)>& change) {
    std::optional<HeadBytes> stored;
    auto* dialog = new frmSysOption(3, doc);
    dialog->onAccept = [&](int number, const HeadBytes& head) {
        if (number == 3) stored = head;
    };
    dialog->show();
    change(*dialog);
    dialog->OKButton()->click();
    return stored;
}

TEST(SysOptionDialog, OpensOnTheStoredSettingsAndOkStoresTheChoicesAndNothingElse) {
    const Document doc = Sample();
    const auto stored = Edit(doc, [](frmSysOption& d) {
        EXPECT_EQ(testing::WrongTexts(d, u"sysoption"_qs), QStringList());
        EXPECT_EQ(d.cboPttTrsm()->count(), 226);
        EXPECT_EQ(d.cboSysOp(5)->currentText(), "5 s");
        EXPECT_EQ(d.cboSysOp(4)->currentText(), "3 s");
        for (auto [k, text] : {std::pair(5, "15 s"), {4, "1 s"}, {2, "7"}})
            d.cboSysOp(k)->setCurrentIndex(d.cboSysOp(k)->findText(text));
        d.cboPttTrsm()->setCurrentIndex(d.cboPttTrsm()->findText("30"));
        d.chkBeep()->setChecked(!d.chkBeep()->isChecked());
    });
    HeadBytes expected = doc.state.head;
    expected[0x07] = 0xF0;
    expected[0x0F] = 30;
    expected[0x05] = 7;
    expected[0x0A] ^= 0x20;
    EXPECT_EQ(stored, expected);
}

TEST(SysOptionDialog, NoChannelInUseAndTheLargeMemory) {
    Document doc = Sample();
    for (int k = 0; k < doc.BlockCount(); ++k) doc.lines[k] = EmptyChannelLine(k + 1);
    doc.state.head[0x05] = 4;
    const auto empty = Edit(doc, [](frmSysOption& d) {
        EXPECT_FALSE(d.cboSysOp(2)->isEnabled());
        EXPECT_EQ(d.cboSysOp(2)->currentText(), "OFF");
    });
    ASSERT_TRUE(empty);
    EXPECT_EQ((*empty)[0x05], 0);
    while (doc.BlockCount() < 99) doc.lines.push_back(EmptyChannelLine(doc.BlockCount() + 1));
    const auto large = Edit(doc, [](frmSysOption& d) {
        EXPECT_TRUE(d.lblSysOp(5)->isHidden() && d.cboSysOp(5)->isHidden() &&
                    d.chkReverse()->isHidden() && !d.chkBeep()->isHidden());
        // BEEP ON stands where the Scan Attack label was.
        auto* grid = qobject_cast<QGridLayout*>(d.layout());
        ASSERT_TRUE(grid);
        const auto cell = [grid](QWidget* w) {
            int row = -1, column = -1, rows = 0, columns = 0;
            grid->getItemPosition(grid->indexOf(w), &row, &column, &rows, &columns);
            return std::pair(row, column);
        };
        EXPECT_EQ(cell(d.chkBeep()), cell(d.lblSysOp(5)));
        EXPECT_NE(cell(d.chkBeep()).first, -1);
    });
    ASSERT_TRUE(large);
    EXPECT_EQ((*large)[0x07], 0x02);
}

}  // namespace
}  // namespace talveron::sysoption
