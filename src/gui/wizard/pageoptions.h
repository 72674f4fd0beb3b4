#pragma once
// The copyright options as the wizard's controls hold them: read live from
// steps 1, 2 and 3 for a run or for saving, and put into the controls when the
// wizard is first entered.

#include "core/job/copyrightoptions.h"

// Reads every option from the controls at this moment: the output folder of
// step 3, the step-2 controls, and the pattern and current folder of step 1;
// the options on no control as they were read when the wizard was entered.
// Creates the wizard pages when they do not exist yet.
CopyrightOptions currentOptionsFromPages();

// Puts every option into its control, in the load order: step-3 output folder;
// step-2 Option1/Option2, Text1, Text3, Text4, Check1, Option3/Option4,
// Option5/Option6; step-1 pattern, then its folder. The options on no control
// are kept for the runs.
void showOptionsOnPages(const CopyrightOptions& options);
