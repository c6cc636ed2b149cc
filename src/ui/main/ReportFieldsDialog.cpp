#include "ui/main/ReportFieldsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {
namespace {

// A field with its label, which names it to a screen reader and gives it its shortcut.
QLineEdit* AddField(QFormLayout& form, const char* objectName, const QString& label) {
    auto* field = new QLineEdit;
    field->setObjectName(QLatin1String(objectName));
    field->setMinimumWidth(260);
    auto* caption = new QLabel(label);
    caption->setBuddy(field);
    form.addRow(caption, field);
    return field;
}

}  // namespace

ReportFieldsDialog::ReportFieldsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ExportReport"));
    setWindowTitle(QStringLiteral("Export Report"));
    auto* note = new QLabel(
        QStringLiteral("Shown at the top of the report; the engineer's name also above the "
                       "signature. Leave out what does not apply."));
    note->setWordWrap(true);
    auto* form = new QFormLayout;
    site_ = AddField(*form, "ReportSite", QStringLiteral("&Site:"));
    customer_ = AddField(*form, "ReportCustomer", QStringLiteral("&Customer:"));
    tag_ = AddField(*form, "ReportTag", QStringLiteral("Device &tag:"));
    engineer_ = AddField(*form, "ReportEngineer", QStringLiteral("&Engineer:"));
    auto* buttons = new QDialogButtonBox;
    QPushButton* exportButton =
        buttons->addButton(QStringLiteral("E&xport..."), QDialogButtonBox::AcceptRole);
    exportButton->setObjectName(QStringLiteral("ReportExport"));
    exportButton->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("ReportCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

ReportParties ReportFieldsDialog::Parties() const {
    return {site_->text(), customer_->text(), tag_->text(), engineer_->text()};
}

}  // namespace kv
