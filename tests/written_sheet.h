// A drawing written as the window writes it, read back from its file, and the data sheet made of
// it: the sheet's numbers can then be checked against the outline read back.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "drawing/dxf_reader.h"
#include "report/data_sheet.h"
#include "report/read_text.h"
#include "report/sheet_text.h"
#include "test_files.h"

namespace tarvo::testing {

// What the writer's tap hands on, kept as a reading of the file keeps it.
class TapRecorder final : public DxfSink {
  public:
    void Polyline(const std::string& layer, std::size_t, std::size_t) override {
        drawing.polylines.push_back({layer, {}});
    }
    void Vertex(PointXY p, std::size_t, std::size_t) override {
        drawing.polylines.back().points.push_back(p);
    }
    void PolylineEnd() override {}
    void Line(const DxfLine& line) override { drawing.lines.push_back(line); }
    DxfDrawing drawing;
};

// A drawing as text, every coordinate to the bit (in hexadecimal), to compare.
inline std::string Bits(const DxfDrawing& drawing) {
    std::ostringstream text;
    text << std::hexfloat;
    for (const DxfPolyline& p : drawing.polylines) {
        text << p.layer;
        for (const PointXY& q : p.points) {
            text << ' ' << q.X << ' ' << q.Y;
        }
    }
    for (const DxfLine& l : drawing.lines) {
        text << l.layer << ' ' << l.from.X << ' ' << l.from.Y << ' ' << l.to.X << ' ' << l.to.Y;
    }
    return text.str();
}

struct Written {
    DataSheet sheet;
    DxfDrawing drawing;
};

// `call` drawn with `state` (whose profile angle it takes) into a folder of the test's own. What
// the writer hands on as it writes must be what the file reads back as, to the bit, and the sheet
// made from it word for word the sheet of the file.
inline Written WriteAndReadBack(MainMod state, BuilderCall call, const SheetOptions& options = {}) {
    call.alpha = state.Alfa;
    const TempFolder folder;
    state.OutFile = folder.File("sheet.dxf");
    const DrawnSheet whileWritten = DrawWithDataSheet(state, call, options);
    EXPECT_TRUE(whileWritten.drawn.ok() && whileWritten.sheet.has_value());
    TapRecorder tapped;
    EXPECT_TRUE(RunBuilderTapped(state, call, &tapped).ok());
    const DxfReadResult read = ReadDxfFile(state.OutFile);
    EXPECT_TRUE(read.ok() && Bits(tapped.drawing) == Bits(read.value()));
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
