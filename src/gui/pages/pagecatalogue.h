#pragma once
// The five pages as data: each description lives in its own file beside this one.

#include "gui/framework/pagedescription.h"

const PageDescription& form1Description();  // main menu
const PageDescription& form11Description(); // step 1: choose the files
const PageDescription& form2Description();  // step 2: copyright text and options
const PageDescription& form3Description();  // step 3: run the job
const PageDescription& form22Description(); // viewer: read copyrights back
