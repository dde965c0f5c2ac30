#include "dialog/PlaneSizeDialog.h"

#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
double Mm(const QLineEdit* edit) {
    bool ok = false;
    const double v = edit->text().toDouble(&ok);
    return ok && v > 0 ? v : 0;
}
} // namespace

PlaneSizeDialog::PlaneSizeDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("參考平面"));
    auto* form = new QFormLayout(this);
    form->addRow(new QLabel(tr("矩形的實際大小（毫米）。寬度沿照片上較接近水平的一對邊。"), this));
    m_width = new QLineEdit(this);
    m_height = new QLineEdit(this);
    for (QLineEdit* edit : {m_width, m_height}) {
        auto* validator = new QDoubleValidator(0.1, 1.0e6, 1, edit);
        validator->setNotation(QDoubleValidator::StandardNotation);
        validator->setLocale(QLocale::c());
        edit->setValidator(validator);
        connect(edit, &QLineEdit::textChanged, this, &PlaneSizeDialog::UpdateOk);
    }
    form->addRow(tr("寬度(&W)："), m_width);
    form->addRow(tr("高度(&H)："), m_height);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(m_buttons);
    UpdateOk();
}

double PlaneSizeDialog::WidthMm() const {
    return Mm(m_width);
}

double PlaneSizeDialog::HeightMm() const {
    return Mm(m_height);
}

void PlaneSizeDialog::UpdateOk() {
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(WidthMm() > 0 && HeightMm() > 0);
}
