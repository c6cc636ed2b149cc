#pragma once
// "Export Report": what the report says of the plant before its file is chosen: site,
// customer, device tag and engineer, as `report --site --customer --tag --engineer`. The
// fields keep their texts from one export to the next.

#include <QDialog>

#include "report/ReportSubject.h"

class QLineEdit;

namespace kv {

class ReportFieldsDialog : public QDialog {
    Q_OBJECT

public:
    explicit ReportFieldsDialog(QWidget* parent = nullptr);

    ReportParties Parties() const;

private:
    QLineEdit* site_;
    QLineEdit* customer_;
    QLineEdit* tag_;
    QLineEdit* engineer_;
};

}  // namespace kv
