#pragma once
// The page picture of the preview window (Image1): a copy of the engine's recording of the
// current page, replayed stretched into the control's rectangle. Zooming only changes the
// control's size; the page routine is not run again. Small sizes are drawn once into a
// pixmap so that scrolling does not replay the page for every exposed strip.

#include "preview/PageRecording.h"

#include <QPixmap>
#include <QWidget>

class PreviewImage : public QWidget {
    Q_OBJECT
public:
    explicit PreviewImage(QWidget* parent = nullptr);

    void setPage(const PageRecording& page);
    void clearPage();
    bool hasPage() const { return m_hasPage; }
    const PageRecording& page() const { return m_page; }

    // Largest picture (in device pixels) kept as a pixmap; bigger ones are replayed clipped.
    static constexpr qint64 CacheLimitPixels = 8 * 1024 * 1024;

signals:
    void rightButtonPressed(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    PageRecording m_page;
    bool m_hasPage = false;
    QPixmap m_cache;
};
