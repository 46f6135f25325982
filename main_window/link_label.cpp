#include "main_window/link_label.h"

#include <QAccessibleWidget>
#include <QMouseEvent>

namespace {

// How a screen reader meets a link label: role Link, named by its text, with a press action.
class AccessibleLinkLabel : public QAccessibleWidget {
  public:
    explicit AccessibleLinkLabel(LinkLabel* label) : QAccessibleWidget(label, QAccessible::Link) {
        addControllingSignal(QStringLiteral("clicked()"));
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& action) override {
        if (action == pressAction()) emit static_cast<LinkLabel*>(widget())->clicked();
    }
};

QAccessibleInterface* LinkLabelAccessibility(const QString& className, QObject* object) {
    if (className == QLatin1String("LinkLabel") && object && object->isWidgetType()) {
        return new AccessibleLinkLabel(static_cast<LinkLabel*>(object));
    }
    return nullptr;
}

}  // namespace

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(LinkLabelAccessibility);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}
