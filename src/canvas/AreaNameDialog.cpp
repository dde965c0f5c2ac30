#include "canvas/AreaNameDialog.h"

#include "document/ShapeRecords.h"
#include "platform/Cp950Edit.h"

#include <QDialogButtonBox>
#include <QFormLayout>

AreaNameDialog::AreaNameDialog(const QByteArray& name, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("區域名稱"));
    auto* form = new QFormLayout(this);
    m_name = new Cp950LineEdit(static_cast<int>(kAreaNameBytes), this);
    m_name->setText(FromRecordText(name));
    m_name->selectAll();
    form->addRow(tr("名稱(&N)："), m_name);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

QByteArray AreaNameDialog::Name() const {
    return ToRecordText(m_name->text());
}
