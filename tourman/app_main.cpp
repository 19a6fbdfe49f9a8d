#include "tourman/app_main.h"

#include "message_boxes/message_boxes.h"
#include "pairing/burstein_engine.h"
#include "pairing/color_improvement.h"
#include "pairing/dubov_engine.h"
#include "pairing/uscf_engine.h"
#include "reports/result_lists.h"
#include "reports/standing_reports.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/folders.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/startup.h"
#include "toolkit/widgets/customize_dialog.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/log_window.h"
#include "toolkit/widgets/print_dialog.h"
#include "tourman/commands/round_commands.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/dialogs/color_window.h"
#include "tourman/frame/window_frame.h"
#include "tourman/main_window/main_window.h"
#include "tourman/pages/players/player_list.h"
#include "tournament/files/host_files.h"
#include "tournament/files/message_file.h"
#include "tournament/round_save.h"
#include "tournament/run_options.h"

#include <cstdio>

void InstallServices() {
    InstallStandingReports();
    ResultListsWriter = WriteResultLists;
    RegisterDubovEngine();
    RegisterUscfEngine();
    RegisterBursteinEngine();
    RegisterColorImprovementPass();
    InstallMessageBoxes(ProgramTitle);
    SetHostNames({WkHostPath, WkFromHostPath});
    InstallPlayerListHooks();
    InstallRoundCommandHooks();
    InstallTournamentCommandHooks();
    InstallColorImprovementHooks();
}

bool StartApplication() {
    WkInstallEventLoop();
    WkInitFormClass();
    WkInstallPrintDialog();
    WkInstallLogWindow();
    InstallServices();
    ProgramFolder = WkGetCurrentDir();
    if (!LoadMessageFile()) return false;
    WkEnableCustomize();
    WkObject* window = BuildMainWindow();
    WkShellRealize(window);
    WkShellSetCloseCallback(window, OnMainWindowClose, nullptr);
    return true;
}

int AppMain(int, char**) {
    if (!StartApplication()) {
        // The alert told the arbiter; the status and this line tell whoever started the program.
        std::fprintf(stderr, "tourman: cannot start: the message file %s%s cannot be read\n", ProgramFolder.c_str(),
                     MessageFileName);
        return 1;
    }
    return WkMainLoop();
}
