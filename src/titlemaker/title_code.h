#pragma once
#include <string>

namespace olve {

// The code that ties a title to its recording (the title's "VolSerialNum" and the "code" of
// its "vcd.ini") when the user gives none: "M" and twelve hexadecimal digits of a hash of
// the recording's bytes, so a second title made from the same recording finds the same one.
// False with a reason when the file cannot be read.
bool DerivedTitleCode(const std::string& mediaPath, std::string& code, std::string& error);

// The stored (code page 932) form of a code the user gives (UTF-8). The code names folders
// ("vcd" and "titles" below the program's folder), so it must not be empty or longer than 64
// bytes, must not begin or end with a blank or a dot, and must not hold "..", control characters,
// \ / : * ? " < > |, or characters code page 932 lacks. False with a reason otherwise.
bool StoredTitleCode(const std::string& code, std::string& stored, std::string& error);

}  // namespace olve
