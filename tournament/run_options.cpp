#include "tournament/run_options.h"

int VerboseOption = 0;
int ColorImprovementOption = 0;
int RelaxedColorOption = 0;
int StrictColorMode = 0;
int MergedMode = 0;
std::string ProgramFolder;

void ResetRunOptions() {
    VerboseOption = ColorImprovementOption = RelaxedColorOption = 0;
    StrictColorMode = MergedMode = 0;
}
