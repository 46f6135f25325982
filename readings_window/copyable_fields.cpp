#include "readings_window/copyable_fields.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {

// A read-only box whose Ctrl+C copies the plain number.
class ValueBox : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Copy)) {
            QApplication::clipboard()->setText(
                PlainNumber(hasSelectedText() ? selectedText() : text()));
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }
};

}  // namespace

QString PlainNumber(const QString& shown) {
    QString plain = shown;
    plain.remove(QChar(0x00b0)).remove(QChar(0x00b1));
    return plain.trimmed();
}

CopyableFields::CopyableFields(const QString& objectPrefix, QWidget* parent)
    : QWidget(parent), prefix_(objectPrefix), grid_(new QGridLayout(this)) {
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setColumnStretch(1, 1);
}

void CopyableFields::setRows(const std::vector<std::pair<QString, QString>>& rows) {
    while (values_.size() < rows.size()) {
        auto* label = new QLabel(this);
        label->setWordWrap(true);
        auto* value = new ValueBox(this);
        value->setObjectName(prefix_ + QString::number(values_.size()));
        value->setReadOnly(true);
        label->setBuddy(value);
        const int row = int(values_.size());
        grid_->addWidget(value, row, 0, Qt::AlignTop);
        grid_->addWidget(label, row, 1);
        labels_.push_back(label);
        values_.push_back(value);
    }
    // The boxes line up, each as wide as its value, none narrower than a plain angle's.
    const QFontMetrics metrics(font());
    const int least = metrics.horizontalAdvance(QStringLiteral("\u2212180.0\u00b0"));
    for (std::size_t i = 0; i < values_.size(); ++i) {
        const bool shown = i < rows.size();
        labels_[i]->setVisible(shown);
        values_[i]->setVisible(shown);
        if (!shown) continue;
        labels_[i]->setText(rows[i].first);
        values_[i]->setText(rows[i].second);
        values_[i]->setAccessibleName(rows[i].first);
        values_[i]->setCursorPosition(0);
        values_[i]->setFixedWidth(std::max(least, metrics.horizontalAdvance(rows[i].second)) +
                                  metrics.averageCharWidth() * 3);
    }
}
