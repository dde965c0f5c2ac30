// The zoom commands and the About entry.

#include "dialog/CMeasureDlg.h"

#include "dialog/CAboutDlg.h"
#include "dialog/ModalLoop.h"

void CMeasureDlg::OnZoomIn() {
    m_canvas.SetZoom(ZoomIn);
}
void CMeasureDlg::OnZoomOut() {
    m_canvas.SetZoom(ZoomOut);
}
void CMeasureDlg::OnZoomFit() {
    m_canvas.SetZoom(ZoomFit);
}
void CMeasureDlg::OnZoomActual() {
    m_canvas.SetZoom(ZoomActual);
}

void CMeasureDlg::OnAbout() {
    CAboutDlg about(nullptr);
    RunModal(about);
}
