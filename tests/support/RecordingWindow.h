#pragma once
// The preview window as the engine finds it ("plPrevPost"), for the print runs of the forms:
// when shown it keeps the run's title and window state and records every page of the run.

#include "preview/PageRecording.h"
#include "preview/PreviewWindow.h"
#include "preview/TplPrev.h"

#include <QObject>
#include <QString>
#include <QVector>

class RecordingWindow final : public PreviewWindow {
public:
    RecordingWindow() { registerWindow(this); }
    ~RecordingWindow() override { unregisterWindow(this); }
    QString windowName() const override { return QStringLiteral("plPrevPost"); }
    QObject* windowObject() override { return &object; }
    void Bind(TplPrev* e) override { engine = e; }
    int ShowModal() override
    {
        ++shown;
        title = engine->Title();
        state = engine->FormWindowState();
        for (int p = 1; p <= engine->PageCount(); ++p) {
            engine->setCurrentPage(p);
            const PageRecording* rec = engine->RenderPage();
            pages.push_back(rec ? *rec : PageRecording());
        }
        return 1;
    }
    bool IsVisible() const override { return false; }

    QObject object;
    TplPrev* engine = nullptr;
    int shown = 0;
    QString title;
    TplPrev::TFormWindowState state = TplPrev::fwNormal;
    QVector<PageRecording> pages;
};
