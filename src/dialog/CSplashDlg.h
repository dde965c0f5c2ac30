#pragma once
// The splash picture shown before the main window: borderless, exactly the
// picture's size, centred; it ends after two seconds or at a left click.

#include <QDialog>
#include <QPixmap>

class CSplashDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSplashDlg(QWidget* parent = nullptr);

    // Shows the splash modally. Without its picture it ends at once.
    int DoModal();

    static constexpr int kTimerInterval = 2000; // milliseconds
    int TimerId() const { return m_nTimer; }
    const QPixmap& Bitmap() const { return m_bitmap; }

public Q_SLOTS:
    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void OnInitDialog();

    QPixmap m_bitmap;
    int m_nTimer = 0;
};
