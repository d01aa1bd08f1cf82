#include "ClickLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>

namespace t2 {

namespace {

// What a screen reader learns of a cell label: its name, the value it shows,
// and for a click label that acts the press (and its list or button role).
class CellLabelAccessible : public QAccessibleWidget {
public:
    explicit CellLabelAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::StaticText) {}

    QAccessible::Role role() const override
    {
        const auto* click = qobject_cast<const ClickLabel*>(widget());
        if (!click || click->focusPolicy() == Qt::NoFocus) return QAccessible::StaticText;
        return click->OpensList() ? QAccessible::ComboBox : QAccessible::Button;
    }

    QString text(QAccessible::Text t) const override
    {
        const auto* label = static_cast<const QLabel*>(widget());
        switch (t) {
        case QAccessible::Name:
            return label->accessibleName().isEmpty() ? label->text().trimmed() : label->accessibleName();
        case QAccessible::Value:
            return label->text().trimmed();
        case QAccessible::Description:
            return label->accessibleDescription().isEmpty() ? label->toolTip() : label->accessibleDescription();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (role() != QAccessible::StaticText) names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& action) override
    {
        auto* click = qobject_cast<ClickLabel*>(widget());
        if (click && action == pressAction() && role() != QAccessible::StaticText) {
            click->Press();
            return;
        }
        QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* CellLabelFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String("t2::CellLabel") || !object || !object->isWidgetType()) return nullptr;
    return new CellLabelAccessible(static_cast<QWidget*>(object));
}

void InstallFactoryOnce()
{
    static const bool installed = [] {
        QAccessible::installFactory(CellLabelFactory);
        return true;
    }();
    (void)installed;
}

// The signals that make a click label act: something connected to one of
// them takes the focus and the keys.
const std::array<QMetaMethod, 3>& ActingSignals()
{
    static const std::array<QMetaMethod, 3> signals_{QMetaMethod::fromSignal(&ClickLabel::clicked),
                                                     QMetaMethod::fromSignal(&ClickLabel::doubleClicked),
                                                     QMetaMethod::fromSignal(&ClickLabel::menuRequested)};
    return signals_;
}

}  // namespace

CellLabel::CellLabel(QWidget* parent) : QLabel(parent) { InstallFactoryOnce(); }

CellLabel::CellLabel(const QString& text, QWidget* parent) : QLabel(text, parent) { InstallFactoryOnce(); }

// ---------------------------------------------------------------------------

ClickLabel::ClickLabel(QWidget* parent) : CellLabel(parent) {}

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : CellLabel(text, parent) {}

void ClickLabel::connectNotify(const QMetaMethod& signal)
{
    const auto& acting = ActingSignals();
    if (std::find(acting.begin(), acting.end(), signal) != acting.end()) setFocusPolicy(Qt::StrongFocus);
    CellLabel::connectNotify(signal);
}

void ClickLabel::Press() { emit clicked(); }

bool ClickLabel::Acts() const
{
    const auto& acting = ActingSignals();
    return std::any_of(acting.begin(), acting.end(), [this](const QMetaMethod& s) { return isSignalConnected(s); });
}

void ClickLabel::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) leftDown_ = true;
    emit pressed(e->button(), e->modifiers());
    e->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e)
{
    const bool click = e->button() == Qt::LeftButton && leftDown_ && rect().contains(e->position().toPoint());
    if (e->button() == Qt::LeftButton) leftDown_ = false;
    e->accept();
    if (click) emit clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* e)
{
    // Qt sends the second press of a pair as a double click: it counts as the
    // double click and its release as no further click.
    leftDown_ = false;
    e->accept();
    if (e->button() == Qt::LeftButton) emit doubleClicked();
}

void ClickLabel::ClickFromKeyboard()
{
    byKeyboard_ = true;
    emit clicked();
    byKeyboard_ = false;
}

void ClickLabel::keyPressEvent(QKeyEvent* e)
{
    if (focusPolicy() == Qt::NoFocus) {
        CellLabel::keyPressEvent(e);
        return;
    }
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const int key = e->key();
    const bool click = mods == Qt::NoModifier && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter);
    const bool open = opensList_ && ((key == Qt::Key_F4 && mods == Qt::NoModifier) ||
                                     (key == Qt::Key_Down && mods == Qt::AltModifier));
    const bool menu = (key == Qt::Key_Menu && mods == Qt::NoModifier) || (key == Qt::Key_F10 && ShiftOnly(mods));
    if (click || open) {
        e->accept();
        if (!e->isAutoRepeat() && isSignalConnected(QMetaMethod::fromSignal(&ClickLabel::clicked)))
            ClickFromKeyboard();
        return;
    }
    if (menu && isSignalConnected(QMetaMethod::fromSignal(&ClickLabel::menuRequested))) {
        e->accept();
        emit menuRequested();
        return;
    }
    CellLabel::keyPressEvent(e);
}

void ClickLabel::paintEvent(QPaintEvent* e)
{
    CellLabel::paintEvent(e);
    if (!hasFocus()) return;
    // A black line with a white one inside it reads on every background the
    // windows use (white, the greys, yellow, green, red, blue).
    QPainter p(this);
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(rect().adjusted(2, 2, -3, -3));
}

bool ShiftOnly(Qt::KeyboardModifiers modifiers)
{
    const auto held = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return held == Qt::ShiftModifier;
}

}  // namespace t2
