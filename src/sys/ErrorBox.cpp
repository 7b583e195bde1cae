#include "sys/ErrorBox.hpp"

#include "kel/txt/out/ArgInt.hpp"
#include "kel/txt/out/PrintNa.hpp"
#include "sys/MessageBoxInterface.hpp"

namespace sys
{

void show_error_box(MessageBoxInterface& box, const std::string& text, int code)
{
    char code_text[32];
    kel::txt::out::PrintNa code_line(code_text);
    code_line.print("\n\nCode %1%", kel::txt::out::ArgInt(code));
    box.show("Error", text + std::string(code_line.view()), MessageBoxInterface::buttons_ok, 0);
}

} // namespace sys
