#pragma once
// The three wizard steps; creating step 1 creates steps 2 and 3 hidden (its load step).

class Form11;
class Form2;
class Form3;

Form11& form11();
Form2& form2();
Form3& form3();
