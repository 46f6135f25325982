#include "readings_window/copyable_fields.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

CopyableFields::CopyableFields(const QString& objectPrefix, QWidget* parent)
    : QWidget(parent), prefix_(objectPrefix), grid_(new QGridLayout(this)) {
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setColumnStretch(1, 1);
}

void CopyableFields::setRows(const std::vector<std::pair<QString, QString>>& rows) {
    while (values_.size() < rows.size()) {
        auto* label = new QLabel(this);
        label->setWordWrap(true);
        auto* value = new QLineEdit(this);
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
