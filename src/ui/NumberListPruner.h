#pragma once

#include <QObject>

class QComboBox;

namespace pagewing {

// Delete on an entry highlighted in the open number list forgets it: it leaves the list and the stored
// telephone list, as in the address fields of other programs. What is typed in the box stays.
class NumberListPruner : public QObject {
    Q_OBJECT

public:
    explicit NumberListPruner(QComboBox& numbers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ForgetHighlighted();

    QComboBox& Numbers;
};

} // namespace pagewing
