// The document window over a recording host: what it shows of a document (labels, header,
// lines in columns that line up, lines changed by an edit with every selection kept), its
// menus, what activation reports, the Paste, Undo and Redo rules of the Edit menu, the
// transfer lock, opening a channel, and that closing asks the host.
#include <gtest/gtest.h>

#include <QAction>
#include <QCloseEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <map>

#include "document/document_host.h"
#include "document/frm_notepad.h"
#include "image/cfg_file.h"
#include "image/channel_line.h"

namespace talveron::document {
namespace {

class RecordingHost : public DocumentHost {
  public:
    std::map<int, Document> docs;
    std::vector<std::string> clip;
    std::vector<RangeVerdict> verdicts;
    std::vector<QString> statuses;
    std::vector<std::string> commands;
    bool allowClose = true;
    bool transfer = false;

    Document* DocumentOf(int number) override {
        auto it = docs.find(number);
        return it == docs.end() ? nullptr : &it->second;
    }
    void Command(int n, DocCommand c, int row) override {
        using C = DocCommand;
        const std::string num = std::to_string(n);
        const std::map<C, std::string> names = {
            {C::Open, "open"},
            {C::Close, "close" + num},
            {C::Save, "save" + num},
            {C::SaveAs, "saveas" + num},
            {C::Customer, "customer" + num},
            {C::Undo, "undo" + num},
            {C::Redo, "redo" + num},
            {C::ChannelOptions, "option" + num},
            {C::Exit, "exit"},
            {C::Upload, "radio0"},
            {C::Download, "radio1"},
            {C::ReadMe, "readme"},
            {C::About, "about"},
            {C::Channel, "channel" + num + ":" + std::to_string(row)}};
        const auto it = names.find(c);
        commands.push_back(it != names.end()
                               ? it->second
                               : "doc" + num + ":" + std::to_string(static_cast<int>(c)));
    }
    DocChanges EditDocument(int n, std::string_view label,
                            const std::function<void(Document&)>& edit) override {
        return talveron::EditDocument(docs[n], label, edit);
    }
    bool QueryClose(int n) override {
        commands.push_back("query" + std::to_string(n));
        return allowClose;
    }
    void ShowStatus(const QString& text) override { statuses.push_back(text); }
    void ShowVerdict(const RangeVerdict& v) override { verdicts.push_back(v); }
    const std::vector<std::string>& ClipLines() const override { return clip; }
    bool TransferRunning() const override { return transfer; }
};

// The lines the list shows, as the view reads them from its model.
std::vector<std::string> Lines(const frmNotePad& window) {
    std::vector<std::string> lines;
    const QAbstractItemModel* model = window.List()->model();
    for (int i = 0; i < model->rowCount(); ++i)
        lines.push_back(model->index(i, 0).data().toString().toStdString());
    return lines;
}

Document Sample(const char* name) {
    const CfgReadResult read = ReadCfgFile(std::string(TALVERON_SAMPLES) + "/" + name);
    EXPECT_TRUE(read.ok()) << read.message;
    Document doc = OpenDocument(read.image, read.modelCode, name);
    doc.customer = "ACME Taxi: north";
    doc.serial = "SN-0042";
    return doc;
}

class NotePadTest : public ::testing::Test {
  protected:
    RecordingHost host;
    void SetUp() override { host.docs[3] = Sample("vk-a1-16ch.cfg"); }
};

TEST_F(NotePadTest, ShowsTheDocumentsLabelsAndLinesAndRefreshFollowsTheModel) {
    frmNotePad window(&host, 3);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("VK-A1-16CH.CFG"));
    EXPECT_EQ(window.Label3(8)->text(), QStringLiteral("Model:VK-A1  "));
    EXPECT_EQ(window.Label3(9)->text(), QStringLiteral("Range:140-175MHz"));
    EXPECT_EQ(window.Label3(10)->text(), QStringLiteral("Customer:ACME Taxi: north"));
    EXPECT_EQ(window.Label3(11)->text(), QStringLiteral("Serial No:SN-0042"));
    EXPECT_EQ(window.Label3(12)->text(),
              QStringLiteral(" CH   Rx Freq.  Rx_CTCSS/DCS   Tx Freq.  Tx_CTCSS/DCS "));
    Document& doc = host.docs[3];
    ASSERT_EQ(Lines(window), doc.lines);
    EXPECT_EQ(window.List()->selectionMode(), QAbstractItemView::ExtendedSelection);

    // Refresh follows the model.
    doc.lines[1] = doc.lines[0];
    doc.caption = "TEMP2";
    doc.customer.clear();
    window.Refresh();
    EXPECT_EQ(Lines(window), doc.lines);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("TEMP2"));
    EXPECT_EQ(window.Label3(10)->text(), QStringLiteral("Customer:"));
}

// An edit redraws the lines it changed; every selected line and the current line stay, and
// Undo and Redo are enabled exactly when there is a step to take.
TEST_F(NotePadTest, AnEditShowsItsLinesAndKeepsEverySelection) {
    frmNotePad window(&host, 3);
    QAction* undo = window.Action(QStringLiteral("mnuEUndo"));
    QAction* redo = window.Action(QStringLiteral("mnuERedo"));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    QItemSelectionModel* selection = window.List()->selectionModel();
    for (int row : {2, 5, 9})
        selection->select(window.List()->model()->index(row, 0), QItemSelectionModel::Select);
    selection->setCurrentIndex(window.List()->model()->index(5, 0), QItemSelectionModel::NoUpdate);
    const std::vector<std::string> before = host.docs[3].lines;
    const DocChanges changes = host.EditDocument(3, "two lines", [](Document& d) {
        d.lines[5] = d.lines[0];
        d.lines[6] = d.lines[0];
    });
    QSignalSpy redrawn(window.List()->model(), &QAbstractItemModel::dataChanged);
    window.ShowChanges(changes);
    EXPECT_EQ(changes.lines, (std::vector<int>{5, 6}));
    ASSERT_EQ(redrawn.size(), 1);  // the two lines, in one run
    EXPECT_EQ(redrawn[0][0].toModelIndex().row(), 5);
    EXPECT_EQ(redrawn[0][1].toModelIndex().row(), 6);
    EXPECT_EQ(Lines(window), host.docs[3].lines);
    EXPECT_EQ(selection->selectedRows().size(), 3);
    EXPECT_EQ(window.CurrentRow(), 5);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    window.ShowChanges(UndoEdit(host.docs[3]));
    EXPECT_EQ(Lines(window), before);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    EXPECT_EQ(selection->selectedRows().size(), 3);

    // Undo and Redo come last in the Edit menu and go to the host with the number.
    QStringList edit;
    for (QAction* a : window.Menus()[1]->actions()) edit << a->objectName();
    EXPECT_EQ(edit.mid(edit.size() - 3), (QStringList{"mnuESep2", "mnuEUndo", "mnuERedo"}));
    EXPECT_EQ(redo->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    undo->setEnabled(true);
    undo->trigger();
    redo->trigger();
    window.Action(QStringLiteral("mnuOpCH"))->trigger();
    EXPECT_EQ(host.commands, (std::vector<std::string>{"undo3", "redo3", "option3"}));
}

// Enter and a double-click on a line ask for the channel dialog of the current line; an empty
// list asks for nothing.
TEST_F(NotePadTest, EnterAndDoubleClickOpenTheCurrentLine) {
    frmNotePad window(&host, 3);
    window.show();
    QListView* list = window.List();
    list->setCurrentIndex(list->model()->index(4, 0));
    QTest::keyClick(list, Qt::Key_Return);
    const QRect line = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line.center());
    host.docs[4] = Document();
    frmNotePad empty(&host, 4);
    QTest::keyClick(empty.List(), Qt::Key_Enter);
    EXPECT_EQ(host.commands, (std::vector<std::string>{"channel3:4", "channel3:2"}));
}

TEST_F(NotePadTest, ColumnsLineUpInAFixedPitchFontFittedToTheHeader) {
    frmNotePad window(&host, 3);
    window.Layout(900, 600);
    EXPECT_EQ(host.statuses.front(), QStringLiteral(" "));  // the load clears the status line
    const QFont font = window.List()->font();
    EXPECT_TRUE(QFontInfo(font).fixedPitch());
    const QFontMetricsF fm(font);
    // Every column starts at the same place in every line as in the header.
    const QString header = window.Label3(12)->text();
    for (int column : {4, 16, 22, 29, 41, 47}) {
        const qreal x = fm.horizontalAdvance(header.left(column));
        for (const std::string& text : Lines(window)) {
            const QString line = QString::fromStdString(text);
            EXPECT_NEAR(fm.horizontalAdvance(line.left(column)), x, 0.5) << text << " " << column;
        }
    }
    // The header was grown until it nearly fills the window, never past it.
    const int headerWidth = QFontMetrics(font).horizontalAdvance(header);
    EXPECT_LT(headerWidth, 900);
    EXPECT_GT(window.FontPointSize(), 10);  // grown from the starting size
    EXPECT_EQ(window.Label3(12)->font().pointSize(), window.FontPointSize());
    // The list shows whole lines: at least as wide as the header.
    EXPECT_GE(window.List()->width(), headerWidth);
    EXPECT_GE(window.width(), window.List()->geometry().right());
}

TEST_F(NotePadTest, MenusCarryTheirCaptionsShortcutsAndStates) {
    frmNotePad window(&host, 3);
    QStringList titles;
    for (QMenu* m : window.Menus()) titles << m->title();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&Option", "&Radio", "&Help", "&Test"}));
    EXPECT_FALSE(window.Action("mnuTest")->isVisible());

    struct Item {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
        bool visible;
        bool enabled;
    };
    const Item items[] = {
        {"mnuFNew", "&New", QKeySequence(Qt::CTRL | Qt::Key_N), false, false},
        {"mnuFOpen", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O), true, true},
        {"mnuFClose", "&Close", {}, true, true},
        {"mnuFSave", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S), true, true},
        {"mnuFSaveAs", "Save &As...", {}, true, true},
        {"mnuFCustomer", "Cus&tomer", {}, true, true},
        {"munPrint", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P), true, true},
        {"munPreview", "Print Pre&view", {}, true, true},
        {"munPrnset", "Printer Set&up", {}, true, true},
        {"mnuFExit", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q), true, true},
        {"mnuRecentFile1", "RecentFile1", {}, false, false},
        {"mnuECut", "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X), true, true},
        {"mnuECopy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C), true, true},
        {"mnuEPaste", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V), true, false},
        {"mnuEDelete", "&Delete", QKeySequence(Qt::Key_Delete), true, true},
        {"mnuEautoF", "Auto&Freq", {}, true, true},
        {"mnuEautoT", "Auto&Tone", {}, true, true},
        {"mnuOpSYS", "S&ystem", {}, true, true},
        {"mnuEUndo", "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), true, false},
        {"mnuERedo", "&Redo", QKeySequence(Qt::CTRL | Qt::Key_Y), true, false},
        {"mnuOpCH", "C&hannel", {}, true, true},
        {"mnuRadioItem0", "&Upload", {}, true, true},
        {"mnuRadioItem1", "&Download", {}, true, true},
        {"mnuRadioItem2", "&Verify", {}, false, false},
        {"mnuReadMe", "&ReadMe", {}, true, true},
        {"mnuVersion", "&About", {}, true, true},
    };
    for (const Item& item : items) {
        QAction* a = window.Action(QString::fromLatin1(item.name));
        ASSERT_NE(a, nullptr) << item.name;
        EXPECT_EQ(a->text(), QString::fromLatin1(item.caption)) << item.name;
        EXPECT_EQ(a->shortcut(), item.shortcut) << item.name;
        EXPECT_EQ(a->isVisible(), item.visible) << item.name;
        EXPECT_EQ(a->isEnabled(), item.enabled) << item.name;
    }
    // The File menu in order, separators included.
    QStringList file;
    for (QAction* a : window.Menus()[0]->actions())
        file << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    EXPECT_EQ(file, (QStringList{"mnuFNew", "mnuFOpen", "mnuFClose", "mnuFSave", "mnuFSaveAs", "-",
                                 "mnuFCustomer", "-", "munPrint", "munPreview", "munPrnset",
                                 "mnuFExit", "-", "mnuRecentFile1", "mnuRecentFile2",
                                 "mnuRecentFile3", "mnuRecentFile4"}));
}

TEST_F(NotePadTest, ActivationTakesTheBandFromTheRangeLabelAndChecksTheLines) {
    frmNotePad window(&host, 3);
    ActiveValues values = window.Activate();
    EXPECT_EQ(values.blockCount, 16);
    EXPECT_EQ(values.band.low, 140);
    EXPECT_EQ(values.band.high, 175);
    ASSERT_EQ(host.verdicts.size(), 1u);
    EXPECT_EQ(host.verdicts[0].text, "ALL Channels In Range");
    EXPECT_EQ(host.verdicts[0].Color(), StatusColor::Black);

    // A channel moved out of the band is reported in red.
    Document& doc = host.docs[3];
    std::string line = doc.lines[2];
    line.replace(4, 3, "176");
    doc.lines[2] = line;
    window.Refresh();
    window.Activate();
    EXPECT_EQ(host.verdicts.back().text, "Channel #3 Range Out !");
    EXPECT_EQ(host.verdicts.back().Color(), StatusColor::Red);

    // The band comes from the label the window shows, not from elsewhere.
    window.Label3(9)->setText(QStringLiteral("Range:170-180MHz"));
    values = window.Activate();
    EXPECT_EQ(values.band.low, 170);
    EXPECT_EQ(values.band.high, 180);
    EXPECT_EQ(values.blockCount, 16);
}

TEST_F(NotePadTest, PasteIsEnabledExactlyWhileTheClipboardHoldsLines) {
    frmNotePad one(&host, 3);
    host.docs[4] = Sample("vk-a2-16ch.cfg");
    frmNotePad two(&host, 4);
    QAction* paste1 = one.Action(QStringLiteral("mnuEPaste"));
    QAction* paste2 = two.Action(QStringLiteral("mnuEPaste"));
    QMenu* edit1 = one.Menus()[1];
    QMenu* edit2 = two.Menus()[1];
    emit edit1->aboutToShow();
    EXPECT_FALSE(paste1->isEnabled());

    host.clip = {host.docs[3].lines[0]};
    emit edit1->aboutToShow();
    emit edit2->aboutToShow();
    EXPECT_TRUE(paste1->isEnabled());
    EXPECT_TRUE(paste2->isEnabled());

    host.clip.clear();
    one.Activate();  // activation never disables
    EXPECT_TRUE(paste1->isEnabled());
    emit edit1->aboutToShow();  // opening the menu does
    EXPECT_FALSE(paste1->isEnabled());
}

TEST_F(NotePadTest, ATransferLocksTheMenusThatCouldDisturbIt) {
    frmNotePad window(&host, 3);
    for (bool locked : {true, false}) {
        window.SetTransferLock(locked);
        for (const char* name : {"mnuFile", "mnuEdit", "mnuOpion", "mnuRadio", "munHelp"})
            EXPECT_EQ(window.Action(QString::fromLatin1(name))->isEnabled(), !locked) << name;
        EXPECT_EQ(window.List()->isEnabled(), !locked);
    }
}

TEST_F(NotePadTest, ClosingAsksTheHostOnce) {
    frmNotePad window(&host, 3);
    window.show();
    host.allowClose = false;
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    host.allowClose = true;
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(window.close());  // already released: not asked again
    EXPECT_EQ(host.commands, (std::vector<std::string>{"query3", "query3"}));
}

}  // namespace
}  // namespace talveron::document
