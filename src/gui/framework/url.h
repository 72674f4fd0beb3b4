#pragma once
// Opening help pages and the maker's web site with the desktop's default
// application. Returns at once; success is not reported.

#include <QString>

void ShellOpen(const QString& target);

// The help entry page, built from the program folder at each call: beside the
// program, or in the data folder of an installed program.
QString helpPagePath();
// The maker's web site, opened by the banner of step 1.
QString makerWebSite();
