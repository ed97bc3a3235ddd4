#pragma once
// A label form on a settings directory of its own (LayoutFormFixture): the address list of
// LabelTestSupport and its horizontal address label layout, and a helper that clicks the
// up-down arrows.

#include "LabelTestSupport.h"

#include "controls/TUpDown.h"
#include "label/ui/TFrmCsvLabelSet.h"
#include "layout/ui/TImageEL.h"
#include "support/LayoutFormFixture.h"

#include <QFile>

namespace labeltest {

class LabelForm : public LayoutFormFixture<TFrmCsvLabelSet> {
protected:
    void SetUp() override
    {
        LayoutFormFixture::SetUp();
        if (HasFatalFailure())
            return;
        writeRecords(25);
        AppSettings& s = AppSettings::instance();
        s = sampleSettings();
        s.csv.fileName = csvPath;
        s.csv.hasHeader = true;
    }

    // The address list: records 0 to count - 1.
    void writeRecords(int count) { writeCsv(records(count)); }

    // Clicks an arrow of an up-down `times` times; returns how many steps moved it.
    static int click(TUpDown* upDown, TUpDown::Direction direction, int times = 1)
    {
        int moved = 0;
        for (int i = 0; i < times; ++i)
            moved += upDown->step(direction) ? 1 : 0;
        return moved;
    }
};

} // namespace labeltest
