#pragma once
// The program's five pages made known to the page directory: the main menu,
// the three wizard steps and the viewer.

void registerPages();
