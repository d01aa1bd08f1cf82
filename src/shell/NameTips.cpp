#include "NameTips.h"

#include <QEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>
#include <QVariant>

#include <algorithm>

namespace t2 {

namespace {

constexpr const char* FilterName = "t2NameTip";
// The whole text of a label shortened by SetTextKeepingEnd, and the text it
// was given to show for it (a text set later in another way has no whole text).
constexpr const char* WholeTextProperty = "t2WholeText";
constexpr const char* ShortTextProperty = "t2ShortText";

// The whole text behind the label's text when it was shortened, else null.
QString WholeText(const QLabel* label)
{
    const QVariant shortened = label->property(ShortTextProperty);
    if (!shortened.isValid() || shortened.toString() != label->text()) return {};
    const QString whole = label->property(WholeTextProperty).toString();
    return whole == label->text() ? QString() : whole;
}

// The width the label's text has (inside its frame, margin and indent).
int TextRoom(const QLabel* label)
{
    QRect room = label->contentsRect();
    const int margin = label->margin();
    room.adjust(margin, margin, -margin, -margin);
    int indent = label->indent();
    if (indent < 0 && label->frameWidth() > 0) indent = label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    if (indent > 0 && (label->alignment() & (Qt::AlignLeft | Qt::AlignRight))) room.setWidth(room.width() - indent);
    return room.width();
}

class NameTipFilter : public QObject {
public:
    explicit NameTipFilter(QLabel* label) : QObject(label) { setObjectName(FilterName); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip) return false;
        auto* label = qobject_cast<QLabel*>(watched);
        if (!label || (LabelTextFits(label) && WholeText(label).isNull())) return false;  // its own tool tip, if any
        // Escaped and with its spaces kept, so that a name reads as it is.
        const QString html = "<p style='white-space:pre'>" +
                             NameToolTip(label).toHtmlEscaped().replace('\n', "<br>") + "</p>";
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), html, label, QRect(),
                           label->toolTipDuration());
        return true;
    }
};

}  // namespace

void ShowWholeNameInToolTip(QLabel* label)
{
    if (!label || label->findChild<NameTipFilter*>(FilterName, Qt::FindDirectChildrenOnly)) return;
    label->installEventFilter(new NameTipFilter(label));
}

bool LabelTextFits(const QLabel* label)
{
    const QString text = label->text();
    if (text.isEmpty()) return true;
    const QFontMetrics metrics = label->fontMetrics();
    const int width = TextRoom(label);
    if (label->wordWrap()) {
        const int height = label->contentsRect().height() - 2 * label->margin();
        const QRect need = metrics.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, text);
        return need.width() <= width && need.height() <= height;
    }
    return metrics.size(0, text).width() <= width;
}

bool ShowsWholeNameInToolTip(const QLabel* label)
{
    return label && label->findChild<NameTipFilter*>(FilterName, Qt::FindDirectChildrenOnly);
}

void SetTextKeepingEnd(QLabel* label, const QString& text, int keep)
{
    if (!label) return;
    ShowWholeNameInToolTip(label);
    QString shown = text;
    label->setText(text);
    keep = std::clamp(keep, 0, static_cast<int>(text.size()));
    if (!LabelTextFits(label) && keep > 0) {
        const QFontMetrics metrics = label->fontMetrics();
        const QString end = text.right(keep);
        const int room = std::max(TextRoom(label) - metrics.horizontalAdvance(end), 0);
        shown = metrics.elidedText(text.left(text.size() - keep), Qt::ElideRight, room) + end;
        label->setText(shown);
    }
    label->setProperty(WholeTextProperty, text);
    label->setProperty(ShortTextProperty, shown);
}

QString NameToolTip(const QLabel* label)
{
    const QString whole = WholeText(label);
    if (whole.isNull() && LabelTextFits(label)) return label->toolTip();
    const QString text = whole.isNull() ? label->text() : whole;
    return label->toolTip().isEmpty() ? text : label->toolTip() + "\n" + text;
}

}  // namespace t2
