// The main window's "作為參考" check box in the dimension group: it makes the
// selected dimension the reference length. It is usable only when the
// dimension's value is a length; otherwise its tooltip says why. And the
// question for the size of a reference plane whose corners were clicked.

#include "dialog/CMeasureDlg.h"

#include "dialog/PlaneSizeDialog.h"
#include "document/ComputedLength.h"
#include "platform/Prompts.h"

#include <QCheckBox>

void CMeasureDlg::CreateReferenceControls() {
    auto* check = new QCheckBox(tr("作為參考"));
    AddControl(IDC_REFERENCE_CHECK, check);
    check->setVisible(false);
    // Only the user's clicks mark the reference; filling the box from the
    // record never does.
    connect(check, &QCheckBox::clicked, this, [this](bool on) {
        m_canvas.SetReferenceDimension(m_canvas.Model().SelDim(), on);
        SyncReferenceCheck();
    });
    connect(&m_canvas, &CPhotoCanvas::planeSizeWanted, this, [this](const Quad& corners) {
        PlaneSizeDialog dialog(this);
        if (Prompts().RunDialog(dialog) == QDialog::Accepted)
            m_canvas.SetReferencePlane(corners, dialog.WidthMm(), dialog.HeightMm());
    });
}

void CMeasureDlg::SyncReferenceCheck() {
    auto* check = Item<QCheckBox>(IDC_REFERENCE_CHECK);
    if (!check)
        return;
    const Dimension* dim = m_canvas.SelectedDimension();
    const QString problem = dim ? ReferenceProblem(*dim) : QString();
    check->setChecked(dim && problem.isEmpty() &&
                      m_canvas.Model().Info().reference.dimension == m_canvas.Model().SelDim());
    check->setEnabled(dim && problem.isEmpty());
    check->setToolTip(problem);
}
