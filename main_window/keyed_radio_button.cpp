#include "main_window/keyed_radio_button.h"

#include <QEvent>
#include <QKeySequence>
#include <QStyleOptionButton>
#include <QStylePainter>

void KeyedRadioButton::setAccessKey(QChar letter) {
    accessKey_ = letter.toUpper();
    const QKeySequence key(QKeyCombination(Qt::AltModifier, Qt::Key(accessKey_.unicode())));
    setShortcut(key);
    // Screen readers announce the description; the press action's key binding is the
    // shortcut itself.
    setAccessibleDescription(key.toString(QKeySequence::NativeText));
}

bool KeyedRadioButton::event(QEvent* event) {
    // A plain button would take the focus on its shortcut; this one only checks itself.
    if (event->type() == QEvent::Shortcut) {
        click();
        return true;
    }
    return QRadioButton::event(event);
}

void KeyedRadioButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    QString caption = option.text;
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    const qsizetype at = caption.indexOf(accessKey_, 0, Qt::CaseInsensitive);
    if (!accessKey_.isNull() && at >= 0) caption.insert(at, QLatin1Char('&'));
    option.text = caption;
    painter.drawControl(QStyle::CE_RadioButton, option);
}
