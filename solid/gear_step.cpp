// STEP text through OCCT's XCAF document: one free shape per member with its name, translated
// by the AP214 writer and printed into memory, so the caller writes the file atomically.
#include "solid/gear_step.h"

#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_PrinterOStream.hxx>
#include <STEPCAFControl_Controller.hxx>
#include <STEPCAFControl_Writer.hxx>
#include <Standard_Failure.hxx>
#include <StepData_Protocol.hxx>
#include <StepData_StepModel.hxx>
#include <StepData_StepWriter.hxx>
#include <TDataStd_Name.hxx>
#include <TDocStd_Document.hxx>
#include <TopExp_Explorer.hxx>
#include <XCAFApp_Application.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>

#include <cstdio>
#include <mutex>
#include <sstream>

namespace tarvo {

namespace {

// The translator's settings are process-wide; one translation at a time.
std::mutex& TranslatorLock() {
    static std::mutex lock;
    return lock;
}

// The name as a STEP string writes it: characters beyond ASCII as \X2\ followed by their
// UTF-16 code units in hexadecimal and \X0\ (ISO 10303-21), since the translator leaves the UTF-8
// bytes as they are. Our names hold only characters of the basic plane.
std::string StepString(const std::string& utf8) {
    std::string out;
    bool wide = false;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        unsigned code = c;
        std::size_t length = 1;
        if (c >= 0xE0 && i + 2 < utf8.size()) {
            code = ((c & 0x0Fu) << 12) | ((utf8[i + 1] & 0x3Fu) << 6) | (utf8[i + 2] & 0x3Fu);
            length = 3;
        } else if (c >= 0xC0 && i + 1 < utf8.size()) {
            code = ((c & 0x1Fu) << 6) | (utf8[i + 1] & 0x3Fu);
            length = 2;
        }
        if (code >= 0x80 && !wide) {
            out += "\\X2\\";
            wide = true;
        } else if (code < 0x80 && wide) {
            out += "\\X0\\";
            wide = false;
        }
        if (wide) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "%04X", code);
            out += hex;
        } else {
            out += static_cast<char>(code);
        }
        i += length;
    }
    if (wide) {
        out += "\\X0\\";
    }
    return out;
}

// Every quoted occurrence of the name in the text, encoded.
void EncodeName(std::string& text, const std::string& name) {
    const std::string from = "'" + name + "'";
    const std::string to = "'" + StepString(name) + "'";
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
}

}  // namespace

StepTextResult GearStepText(const std::vector<StepMember>& members, const SolidOptions& options) {
    std::vector<TopoDS_Shape> solids;
    StepText out;
    for (const StepMember& member : members) {
        const GearSolidResult solid = GearSolid(member.section, options);
        if (!solid.ok()) {
            return StepTextResult::Failure(solid.fault());
        }
        solids.push_back(solid.value());
        for (TopExp_Explorer faces(solid.value(), TopAbs_FACE); faces.More(); faces.Next()) {
            ++out.faces;
        }
    }
    const std::lock_guard<std::mutex> hold(TranslatorLock());
    try {
        STEPCAFControl_Controller::Init();
        // The translator reports its statistics on standard output, which is tarvo-cli's.
        Message::DefaultMessenger()->RemovePrinters(STANDARD_TYPE(Message_PrinterOStream));
        Interface_Static::SetCVal("write.step.schema", "AP214IS");
        Interface_Static::SetCVal("write.step.unit", "MM");
        // No parameter-space curves: every reader rebuilds them from the 3-D edges, and they
        // would double the file.
        Interface_Static::SetIVal("write.surfacecurve.mode", 0);
        Handle(TDocStd_Document) doc;
        XCAFApp_Application::GetApplication()->NewDocument("MDTV-XCAF", doc);
        const Handle(XCAFDoc_ShapeTool) shapes = XCAFDoc_DocumentTool::ShapeTool(doc->Main());
        for (std::size_t i = 0; i < solids.size(); ++i) {
            const TDF_Label label = shapes->AddShape(solids[i], Standard_False);
            TDataStd_Name::Set(label, TCollection_ExtendedString(members[i].name.c_str(), true));
        }
        STEPCAFControl_Writer writer;
        writer.SetNameMode(true);
        const bool transferred = writer.Transfer(doc, STEPControl_AsIs);
        XCAFApp_Application::GetApplication()->Close(doc);
        if (!transferred) {
            return StepTextResult::Failure({SolidFault::StepNotWritten, WheelRole::Pair, 0});
        }
        const Handle(StepData_StepModel) model = writer.ChangeWriter().Model();
        StepData_StepWriter step(model);
        step.SendModel(Handle(StepData_Protocol)::DownCast(model->Protocol()));
        std::ostringstream text;
        if (!step.Print(text)) {
            return StepTextResult::Failure({SolidFault::StepNotWritten, WheelRole::Pair, 0});
        }
        out.text = text.str();
        for (const StepMember& member : members) {
            EncodeName(out.text, member.name);
        }
    } catch (const Standard_Failure&) {
        return StepTextResult::Failure({SolidFault::StepNotWritten, WheelRole::Pair, 0});
    }
    return out;
}

}  // namespace tarvo
