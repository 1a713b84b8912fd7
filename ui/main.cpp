// Tarvo: the window that draws involute gear pairs and spline members into DXF files.
#include <QApplication>

#include "profile/main_mod.h"
#include "ui/controls.h"
#include "ui/frm_par.h"
#include "ui/gear_icon.h"
#include "ui/window_settings.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(tarvo::ui::kApplicationTitle);
    QApplication::setFont(tarvo::ui::FormFont());
    QApplication::setWindowIcon(tarvo::ui::GearIcon());

    // Main: the default accuracy, the window created and loaded, its caption; the program lives
    // as long as the window.
    tarvo::MainMod state;
    const std::unique_ptr<tarvo::ui::FrmPar> window = tarvo::ui::StartWindow(state);
    // The entries of the last run, kept in the user's configuration folder.
    window->UseSettings(tarvo::ui::DefaultSettingsFile());
    window->show();
    return QApplication::exec();
}
