// Helpers the Qt test programs share: waiting for a condition while events run, the words of
// a printed PDF with their places, and the texts the windows show, kept as a table under
// tests/data/desktop.
#pragma once

#include <QtWidgets>
#include <functional>
#include <vector>

#include "test_support.h"

namespace talveron::testing {

// Processes events until pred() holds or timeoutMs (a safety limit) has passed.
inline bool WaitUntil(const std::function<bool()>& pred, int timeoutMs = 10000) {
    for (QDeadlineTimer deadline(timeoutMs); !pred(); QThread::msleep(2)) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// The rows of tests/data/desktop/window_texts.txt (window|object|text) of one window that it
// does not show as written there, each as object=shown on a line ("" when all match). An empty
// object stands for the window's caption, "list#n" for entry n of a list, "(hidden)" for a
// hidden widget; the others show their text, title or current text.
inline std::string WrongTexts(const QWidget& window, const QString& which) {
    QStringList wrong{QStringLiteral("no rows")};
    for (const test::Case& c : test::LoadCases("desktop/window_texts.txt")) {
        const QString object = QString::fromStdString(c[1]), text = QString::fromStdString(c[2]);
        if (c.f.size() != 3 || QString::fromStdString(c[0]) != which) continue;
        wrong.removeAll(QStringLiteral("no rows"));
        const QStringList name = object.split(u'#');
        const QObject* o = name[0].isEmpty() ? &window : window.findChild<QObject*>(name[0]);
        QVariant shown = name[0].isEmpty() ? QVariant(window.windowTitle()) : QVariant();
        if (auto* list = qobject_cast<const QComboBox*>(o); list && name.size() > 1)
            shown = list->itemText(name[1].toInt());
        for (const char* property : {"text", "title", "currentText"})
            if (o && !shown.isValid()) shown = o->property(property);
        if (auto* w = qobject_cast<const QWidget*>(o); w && text == QStringLiteral("(hidden)"))
            shown = w->isHidden() ? text : QStringLiteral("(shown)");
        if (shown.toString() != text) wrong << object + u'=' + shown.toString();
    }
    return wrong.join(u'\n').toStdString();
}

// A word of a PDF as pdftotext -bbox reads it: its page (from 1), left and right edges and
// top, in points.
struct PdfWord {
    int page;
    double x, xMax, y;
    QString text;
};

inline std::vector<PdfWord> PdfWords(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000)) return {};
    static const QRegularExpression word(QString::fromLatin1(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"));
    std::vector<PdfWord> out;
    const QStringList pages =
        QString::fromUtf8(p.readAllStandardOutput()).split(QStringLiteral("<page "));
    for (int page = 0; page < pages.size(); ++page)
        for (const QRegularExpressionMatch& m : word.globalMatch(pages[page]))
            out.push_back({page, m.captured(1).toDouble(), m.captured(3).toDouble(),
                           m.captured(2).toDouble(), m.captured(4)});
    return out;
}

}  // namespace talveron::testing
