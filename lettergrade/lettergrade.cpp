// lettergrade: asks for a numerical grade and names its letter, A to F, or
// says that no letter exists for it.
#include "console.hpp"

int main()
{
    console::set_program_name("lettergrade");

    console::prompt("Enter the numerical grade: ");
    int grade = 0;
    bool const have_grade = console::read_int(grade);

    int category = 0; // none: the grade lies in no band, or was not read
    if (have_grade) {
        if (grade > 89 && grade <= 99)
            category = 1;
        else if (grade > 79 && grade <= 89)
            category = 2;
        else if (grade > 69 && grade <= 79)
            category = 3;
        else if (grade > 59 && grade <= 69)
            category = 4;
        else if (grade >= 0 && grade <= 59)
            category = 5;
    }

    switch (category) {
    case 1: console::write("The grade is : A"); break;
    case 2: console::write("The grade is : B"); break;
    case 3: console::write("The grade is : C"); break;
    case 4: console::write("The grade is : D"); break;
    case 5: console::write("The grade is : F"); break;
    default: console::write("Not exist"); break;
    }
    return console::finish();
}
