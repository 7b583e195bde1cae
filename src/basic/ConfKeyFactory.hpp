#pragma once

#include <memory>
#include <string>
#include <vector>

#include "basic/ConfKeyInterface.hpp"

namespace basic
{

// Reads key trees from text. One shared instance; hosts create plug-in instances on several
// threads at once, so every call keeps its tokens to itself and the result code is kept per
// thread.
class ConfKeyFactory
{
public:
    // Blocks and lists nested deeper than this end the parse as if cut short, which bounds the
    // recursion of parsing, and then of writing, cloning and destroying what was read.
    static constexpr int max_depth = 200;

    ConfKeyFactory(const ConfKeyFactory&) = delete;
    ConfKeyFactory& operator=(const ConfKeyFactory&) = delete;

    static ConfKeyFactory& use_instance();

    // The tree read from text, or null. Sets the code that get_last_error() answers on this
    // thread; a parse error still returns the part of the tree completed before it. A name
    // holding '/' or '\' throws the name-check error (the code is then conf_err::unexpected_kind).
    std::unique_ptr<ConfKeyInterface> create_key_from_string(const std::string& text);
    // The code of the last create_key_from_string() call made on the calling thread.
    int get_last_error() const;

    // First stage of reading: replaces tokens by those of text. Returns 0, or the code of the
    // first line that fails: conf_err::unbalanced_brace or conf_err::unterminated_quote.
    static int lex_text(std::vector<std::string>& tokens, const std::string& text);

private:
    ConfKeyFactory() = default;
};

} // namespace basic
