#pragma once
// A preview engine on the CUPS test printer with one paper in force (portrait) and its
// messages collected: the pages of a run as the preview records them and as they go to
// paper. The postcard and label tests wrap it with their page routines.

#include "preview/PageRecording.h"
#include "preview/PreviewTestSupport.h"
#include "preview/TplPrev.h"
#include "preview/TplSetPrinter.h"
#include "support/CupsTestPrinter.h"
#include "support/PrinterPaper.h"

#include <QTemporaryDir>
#include <QVector>
#include <memory>

class EngineOnTestPrinter {
public:
    // component: the printer component's name; dmPaper: the paper of every run.
    EngineOnTestPrinter(const QString& component, int dmPaper) : m_component(component), m_paper(dmPaper) { }

    // False, with the reason, when the test printer is not there.
    bool setUp(QString* why)
    {
        if (!CupsTestPrinter::available(why))
            return false;
        printer = std::make_unique<TplSetPrinter>(m_component);
        printer->setPrinterName(CupsTestPrinter::name());
        printerpaper::usePaper(*printer, m_paper);
        engine.setPlSetPrinter(printer.get());
        return true;
    }

    // Starts a run of pageCount pages drawn by drawPage.
    bool begin(const QString& title, int pageCount, TplPrev::DrawPageRoutine drawPage)
    {
        engine.setTitle(title);
        engine.setPageCount(pageCount);
        return engine.BeginPreview(std::move(drawPage));
    }

    // Records page `page` of the running run and returns a copy.
    PageRecording page(int page)
    {
        engine.setCurrentPage(page);
        const PageRecording* rec = engine.RenderPage();
        return rec ? *rec : PageRecording();
    }

    // Every page of the running run as the preview records them.
    QVector<PageRecording> pages()
    {
        QVector<PageRecording> out;
        for (int p = 1; p <= engine.PageCount(); ++p)
            out.push_back(page(p));
        return out;
    }

    // Every page of the running run as it goes to paper (a PDF file here), recorded while
    // the job runs; nothing when the job fails.
    QVector<PageRecording> printed()
    {
        QVector<PageRecording> out;
        engine.OnPrint = [this, &out](QObject*, int) {
            if (const PageRecording* rec = engine.PageMetafile())
                out.push_back(*rec);
        };
        QTemporaryDir dir;
        const bool ok = engine.PrintToPdf(dir.filePath(QStringLiteral("run.pdf")));
        engine.OnPrint = nullptr;
        if (!ok)
            out.clear();
        return out;
    }

    previewtest::MessageLog log;
    std::unique_ptr<TplSetPrinter> printer;
    TplPrev engine;

private:
    QString m_component;
    int m_paper;
};
