#include "app_fixture.h"

#include <algorithm>

#include "image/cfg_file.h"

namespace talveron::app {

void AppTest::SetUp() {
    qunsetenv("TALVERON_PORTS");
    ASSERT_TRUE(dir_.isValid());
    // The dialogs start here, never in the user's own folders.
    ASSERT_TRUE(QDir().mkpath(DocumentsFolder()));
    platform::ProgramSettings(dir_.filePath(QStringLiteral("settings.ini")))
        .SetLastFolder(DocumentsFolder());
}

void AppTest::TearDown() {
    mdi.reset();
    port.reset();
    if (radio) radio->Stop();
    qunsetenv("TALVERON_PORTS");
    QDir::setCurrent(QDir::tempPath());
}

void AppTest::StartRadio(const QStringList& extra) {
    radio = std::make_unique<VirtualRadioProcess>();
    VirtualRadioOptions options;
    options.extra = QStringList{u"--baud"_s, u"0"_s} + extra;
    ASSERT_TRUE(radio->Start(VirtualRadioProgram(QCoreApplication::applicationDirPath()), options))
        << radio->Error().toStdString();
}

void AppTest::StartMain(bool splash, link::SerialPort* on) {
    if (!on) port = std::make_unique<platform::QtSerialPort>();
    MainOptions options;
    options.programDir = dir_.path();
    options.showSplash = splash;
    options.splashMs = splash ? 100 : 0;
    options.settingsFile = dir_.filePath(QStringLiteral("settings.ini"));
    mdi = std::make_unique<frmMDI>(ui, on ? *on : *port, clock, options);
    mdi->Startup();
    mdi->activateWindow();
}

QString AppTest::CopySample(const char* name, const QString& as) {
    const QString target = dir_.filePath(as.isEmpty() ? QString::fromLatin1(name) : as);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    EXPECT_TRUE(QFile::copy(Sample(name), target));
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

QString AppTest::WriteFile(const QString& name, const QByteArray& bytes) {
    QFile f(dir_.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size())
        << name.toStdString();
    return f.fileName();
}

void AppTest::Act(const char* name) {
    const QString action = QString::fromLatin1(name);
    QAction* a =
        mdi->ActiveWindow() ? mdi->ActiveWindow()->Action(action) : mdi->MainAction(action);
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
}

bool AppTest::OpenThroughMenu(const QString& path) {
    ui.AnswerOpen(path);
    const auto before = Captions().size();
    Act("mnuFOpen");
    return Captions().size() == before + 1;
}

void AppTest::EditChannel(Document& doc, int from, int to) {
    ASSERT_GE(doc.lines.size(), static_cast<std::size_t>(std::max(from, to)));
    std::string line = doc.lines[from - 1];
    line.replace(0, 4, std::to_string(to).append(4 - std::to_string(to).size(), ' '));
    doc.lines[to - 1] = line;
    doc.state.changed = true;
}

QStringList AppTest::Captions() const {
    QStringList captions;
    for (int n : Inside().Documents().OpenNumbers())
        captions << (mdi->SubWindow(n) ? mdi->SubWindow(n)->windowTitle() : u"<no window>"_s);
    return captions;
}

std::vector<std::string> AppTest::LinesOfFile(const QString& path) const {
    const CfgReadResult read = ReadCfgFile(path.toStdString());
    EXPECT_TRUE(read.ok()) << read.message;
    return OpenDocument(read.image, read.modelCode, "x").lines;
}

QStringList AppTest::Texts() const {
    QStringList texts;
    for (const auto& m : ui.Messages()) texts << m.text;
    return texts;
}

QStringList AppTest::MenuBarNames() const {
    QStringList names;
    for (QAction* a : Inside().MenuBarActions())
        if (a->isVisible()) names << a->objectName();
    return names;
}

void OfflineApp::SetUp() {
    AppTest::SetUp();
    // Port 1 is a device that does not exist, so no port opens; nothing to detect again.
    qputenv("TALVERON_PORTS", QFile::encodeName(TempPath(u"no-such-tty"_s)));
    ui.AnswerMessage(platform::kCancel);
    StartMain();
    ui.ClearRecords();
}

void OfflineApp::Click(std::initializer_list<int> rows, bool twice) {
    QListView* list = mdi->ActiveWindow()->List();
    Qt::KeyboardModifiers with = {};
    QPoint at;
    for (int row : rows) {
        at = list->visualRect(list->model()->index(row, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, with, at);
        with = Qt::ControlModifier;
    }
    if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

::testing::AssertionResult BoxIs(const platform::MessageRequest& m, const QString& text,
                                 const QString& title, unsigned buttons, platform::MsgIcon icon) {
    if (m.text == text && (title.isNull() || m.title == title) && m.buttons == buttons &&
        m.icon == icon)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "box \"" << m.text.toStdString() << "\" titled \"" << m.title.toStdString()
           << "\", buttons " << m.buttons << ", icon " << static_cast<int>(m.icon);
}

}  // namespace talveron::app
