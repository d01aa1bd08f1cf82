#include "Prompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QUrl>

namespace t2 {

namespace {

// The extension of the filter's first pattern ("TMB" for "... (*.TMB *.tmb)"),
// given to a name typed without one.
QString DefaultSuffix(const QString& filter)
{
    static const QRegularExpression firstPattern(QStringLiteral(R"(\(\*\.(\w+))"));
    const QRegularExpressionMatch m = firstPattern.match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

// A table under the message: a row per line, a cell per field.
QString TableHtml(const QString& details)
{
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">");
    for (const QString& line : details.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        html += QStringLiteral("<tr>");
        for (const QString& field : line.split(QLatin1Char('\t')))
            html += QStringLiteral("<td style=\"padding-right:12px\">") + field.toHtmlEscaped() + QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

class ScreenPrompter : public Prompter {
public:
    PromptAnswer Ask(const PromptRequest& r) override
    {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(r.title);
        box.setText(r.text);
        if (!r.details.isEmpty()) box.setDetailedText(r.details);
        if (!r.table.isEmpty()) box.setInformativeText(TableHtml(r.table));
        switch (r.icon) {
        case PromptIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case PromptIcon::Information: box.setIcon(QMessageBox::Information); break;
        case PromptIcon::Question: box.setIcon(QMessageBox::Question); break;
        case PromptIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case PromptIcon::Critical: box.setIcon(QMessageBox::Critical); break;
        }
        switch (r.buttons) {
        case PromptButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case PromptButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case PromptButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case PromptButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes: return PromptAnswer::Yes;
        case QMessageBox::No: return PromptAnswer::No;
        case QMessageBox::Cancel: return PromptAnswer::Cancel;
        case QMessageBox::Ok: return PromptAnswer::Ok;
        default:
            // Closed with Escape or the close box.
            return r.buttons == PromptButtons::YesNo ? PromptAnswer::No
                   : r.buttons == PromptButtons::Ok  ? PromptAnswer::Ok
                                                     : PromptAnswer::Cancel;
        }
    }

    QString AskFileName(const FileRequest& r) override
    {
        QFileDialog dialog(QApplication::activeWindow(), r.title);
        dialog.setNameFilter(r.filter);
        dialog.setNameFilters(r.filter.split(";;"));
        if (!r.startName.isEmpty()) {
            QFileInfo start(r.startName);
            dialog.setDirectory(start.absolutePath());
            if (!start.fileName().contains('*')) dialog.selectFile(start.fileName());
        } else if (!lastFolder_.isEmpty()) {
            dialog.setDirectory(lastFolder_);
        }
        if (!r.sidebarFolders.isEmpty()) {
            QList<QUrl> places = dialog.sidebarUrls();
            for (const QString& folder : r.sidebarFolders) {
                const QUrl url = QUrl::fromLocalFile(folder);
                if (!places.contains(url)) places << url;
            }
            dialog.setSidebarUrls(places);
        }
        if (r.save) {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            dialog.setDefaultSuffix(DefaultSuffix(r.filter));
            // Asks before overwriting an existing file (the default).
        } else {
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(QFileDialog::ExistingFile);
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        // The dialog answers with "/" on every system; the program keeps and
        // shows the system's own form ("C:\VEL Tamberline II\SITE.TMB" on Windows).
        const QString chosen = dialog.selectedFiles().first();
        lastFolder_ = QFileInfo(chosen).absolutePath();
        return QDir::toNativeSeparators(chosen);
    }

private:
    QString lastFolder_;
};

ScreenPrompter& Screen()
{
    static ScreenPrompter p;
    return p;
}

Prompter* installed = nullptr;

}  // namespace

Prompter& Prompts() { return installed ? *installed : Screen(); }

Prompter* SetPrompter(Prompter* prompter)
{
    Prompter* previous = installed;
    installed = prompter;
    return previous;
}

PromptAnswer Ask(const QString& title, const QString& text, PromptIcon icon, PromptButtons buttons,
                 const QString& details)
{
    return Prompts().Ask({title, text, icon, buttons, details, {}});
}

bool AskYesNo(const QString& title, const QString& text, PromptIcon icon, const QString& details)
{
    return Ask(title, text, icon, PromptButtons::YesNo, details) == PromptAnswer::Yes;
}

PromptAnswer AskYesNoCancel(const QString& title, const QString& text, PromptIcon icon)
{
    return Ask(title, text, icon, PromptButtons::YesNoCancel);
}

void Inform(const QString& title, const QString& text, PromptIcon icon)
{
    Ask(title, text, icon, PromptButtons::Ok);
}

QString AskOpenFileName(const QString& filter, const QString& startName, const QString& title,
                        const QStringList& sidebarFolders)
{
    return Prompts().AskFileName({false, title, filter, startName, sidebarFolders});
}

QString AskSaveFileName(const QString& filter, const QString& startName, const QString& title)
{
    return Prompts().AskFileName({true, title, filter, startName, {}});
}

QString QtFileFilter(const QString& pairs)
{
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        const qsizetype open = name.lastIndexOf(QLatin1Char('('));
        if (open > 0) name = name.left(open).trimmed();
        QStringList patterns;
        for (const QString& given : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString pattern = given.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : given.trimmed();
            for (const QString& p : {pattern, pattern.toLower()})
                if (!p.isEmpty() && !patterns.contains(p)) patterns << p;
        }
        filters << name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace t2
