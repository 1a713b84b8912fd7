// A drawing written as the window writes it, read back from its file, and the data sheet made of
// it: the sheet's numbers can then be checked against the outline read back.
#pragma once

#include <gtest/gtest.h>

#include "drawing/dxf_reader.h"
#include "report/data_sheet.h"
#include "report/read_text.h"
#include "report/sheet_text.h"
#include "test_files.h"

namespace tarvo::testing {

struct Written {
    DataSheet sheet;
    DxfDrawing drawing;
};

// `call` drawn with `state` (whose profile angle it takes) into a folder of the test's own. The
// sheet made as the drawing was written must read word for word as the sheet of its file.
inline Written WriteAndReadBack(MainMod state, BuilderCall call, const SheetOptions& options = {}) {
    call.alpha = state.Alfa;
    const TempFolder folder;
    state.OutFile = folder.File("sheet.dxf");
    const DrawnSheet whileWritten = DrawWithDataSheet(state, call, options);
    EXPECT_TRUE(whileWritten.drawn.ok() && whileWritten.sheet.has_value());
    const DxfReadResult read = ReadDxfFile(state.OutFile);
    EXPECT_TRUE(read.ok()) << DescribeDxfRead(read.fault());
    const DataSheetResult made = DataSheetOfFile(state, call, state.OutFile, options);
    EXPECT_TRUE(made.ok()) << (made.ok() ? "" : made.fault());
    if (whileWritten.sheet) {
        EXPECT_EQ(DataSheetText(*whileWritten.sheet), DataSheetText(made));
    }
    return {made.ok() ? made.value() : DataSheet{}, read.ok() ? read.value() : DxfDrawing{}};
}

// The outline of the sheet's wheel `w` about that wheel's own centre.
inline std::vector<PointXY> OwnOutline(const Written& written, const WheelSheet& w) {
    const auto k = static_cast<std::size_t>(w.outline);
    const PointXY centre = CentreMarks(written.drawing).at(k);
    std::vector<PointXY> points;
    for (const PointXY& p : written.drawing.polylines.at(k).points)
        points.push_back({p.X - centre.X, p.Y - centre.Y});
    return points;
}

}  // namespace tarvo::testing
