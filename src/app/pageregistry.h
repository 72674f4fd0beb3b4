#pragma once
// The five pages: each is created on first use, then only shown and hidden
// until the program ends.

class Form1;
class Form11;
class Form2;
class Form3;
class Form22;
class QWidget;

Form1& form1();
Form11& form11(); // creating step 1 creates steps 2 and 3 hidden (its load step)
Form2& form2();
Form3& form3();
Form22& form22();

// Whether a page has been created, by its form name ("Form11" ...).
bool pageCreated(const char* formName);
// Destroys every page: at program end, and between tests.
void destroyPages();
// The page the user sees: the active one, else the one shown (nullptr when
// none is); a message box opens centred on it.
QWidget* pageOnScreen();
