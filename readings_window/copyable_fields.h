#pragma once

#include <QString>
#include <QWidget>

#include <utility>
#include <vector>

class QGridLayout;
class QLabel;
class QLineEdit;

// A value as another program takes it when pasted: the number alone, in the locale's notation,
// without the degree sign or the plus-minus sign shown with it ("37,6" for "37,6°").
QString PlainNumber(const QString& shown);

// Labelled values a user can copy: each value in a read-only box that Tab reaches and that
// selects its text when it does, so that Ctrl+C copies it (as a plain number), its label beside
// it; screen readers hear the label as the box's name. The answer's conventions and the dial's
// quantities.
class CopyableFields : public QWidget {
    Q_OBJECT

  public:
    // Each box is named `objectPrefix` and its row's number from 0.
    CopyableFields(const QString& objectPrefix, QWidget* parent = nullptr);

    // Shows these rows, label and value, in order.
    void setRows(const std::vector<std::pair<QString, QString>>& rows);
    QLineEdit* value(int row) const { return values_[std::size_t(row)]; }
    int rows() const { return int(values_.size()); }

  private:
    QString prefix_;
    QGridLayout* grid_;
    std::vector<QLabel*> labels_;
    std::vector<QLineEdit*> values_;
};
