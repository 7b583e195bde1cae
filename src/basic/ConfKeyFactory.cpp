#include "basic/ConfKeyFactory.hpp"

#include <cstddef>
#include <utility>

#include "basic/ConfErr.hpp"
#include "basic/ConfKeyContentMulti.hpp"
#include "basic/ConfKeyContentString.hpp"
#include "basic/ConfKeyData.hpp"
#include "basic/ConfKeyMulti.hpp"

namespace basic
{

namespace
{

thread_local int tls_last_error = conf_err::ok;

bool is_separator(char c)
{
    return c == ' ' || c == '\n' || c == '\t' || c == '\b' || c == '\v';
}

void split_line(std::vector<std::string>& tokens, const std::string& line)
{
    const std::size_t size = line.size();
    std::size_t pos = 0;
    while (pos < size)
    {
        if (is_separator(line[pos]))
        {
            ++pos;
        }
        else if (line[pos] == '"')
        {
            // The cleaned line has its quotes paired; the end of the line closes one anyway.
            std::size_t close = line.find('"', pos + 1);
            if (close == std::string::npos)
            {
                close = size;
            }
            tokens.emplace_back(line, pos + 1, close - pos - 1);
            pos = close + 1;
        }
        else
        {
            const std::size_t start = pos;
            while (pos < size && !is_separator(line[pos]) && line[pos] != '"')
            {
                ++pos;
            }
            tokens.emplace_back(line, start, pos - start);
        }
    }
}

// Recursive descent over the tokens. depth counts nested braces, so that hostile text cannot
// exhaust the stack.
class Parser
{
public:
    explicit Parser(const std::vector<std::string>& tokens)
        : tok(tokens)
    {
    }

    bool is_at_end() const { return i == tok.size(); }

    // Null unless the tokens at the current position start a key: name, "=", value.
    std::unique_ptr<ConfKeyInterface> create_key() const
    {
        if (left() < 3 || tok[i + 1] != "=" || tok[i] == "=" || tok[i + 2] == "=")
        {
            return nullptr;
        }
        if (left() >= 5 && tok[i + 2] == "{" && tok[i + 4] == "=")
        {
            return std::make_unique<ConfKeyMulti>(tok[i]);
        }
        return std::make_unique<ConfKeyData>(tok[i]);
    }

    int parse_key(ConfKeyInterface& key, int depth)
    {
        if (auto* multi = dynamic_cast<ConfKeyMulti*>(&key))
        {
            return parse_multi(*multi, depth);
        }
        return parse_data(dynamic_cast<ConfKeyData&>(key), depth);
    }

private:
    std::size_t left() const { return tok.size() - i; }
    bool is_close() const { return tok[i] == "}"; }

    int parse_multi(ConfKeyMulti& key, int depth)
    {
        if (depth > ConfKeyFactory::max_depth)
        {
            return conf_err::block_cut_short;
        }
        i += 3;
        for (;;)
        {
            if (left() < 1)
            {
                return conf_err::block_cut_short;
            }
            if (is_close())
            {
                ++i;
                return conf_err::ok;
            }
            if (left() < 4)
            {
                return conf_err::block_cut_short;
            }
            std::unique_ptr<ConfKeyInterface> child = create_key();
            if (child == nullptr)
            {
                return conf_err::block_cut_short;
            }
            const int ret = parse_key(*child, depth + 1);
            if (ret != conf_err::ok)
            {
                return ret;
            }
            key.add_key(std::move(child));
        }
    }

    int parse_data(ConfKeyData& key, int depth)
    {
        i += 2;
        if (left() < 1)
        {
            return conf_err::leaf_without_value;
        }
        int ret = conf_err::ok;
        if (tok[i] == "{")
        {
            if (left() < 2)
            {
                return conf_err::leaf_without_value;
            }
            auto list = std::make_unique<ConfKeyContentMulti>();
            ret = parse_list(*list, depth);
            if (ret == conf_err::ok)
            {
                key.set_content(std::move(list));
            }
        }
        else
        {
            auto str = std::make_unique<ConfKeyContentString>();
            ret = parse_string(*str);
            if (ret == conf_err::ok)
            {
                key.set_content(std::move(str));
            }
        }
        return ret;
    }

    int parse_string(ConfKeyContentString& str)
    {
        if (left() < 1)
        {
            return conf_err::string_missing;
        }
        str.set_str(tok[i]);
        ++i;
        return conf_err::ok;
    }

    int parse_list(ConfKeyContentMulti& list, int depth)
    {
        if (depth > ConfKeyFactory::max_depth)
        {
            return conf_err::list_cut_short;
        }
        ++i;
        for (;;)
        {
            if (left() < 1)
            {
                return conf_err::list_cut_short;
            }
            if (is_close())
            {
                ++i;
                return conf_err::ok;
            }
            if (left() < 2)
            {
                return conf_err::list_cut_short;
            }
            int ret = conf_err::ok;
            if (tok[i] == "{")
            {
                auto sub_list = std::make_unique<ConfKeyContentMulti>();
                ret = parse_list(*sub_list, depth + 1);
                if (ret == conf_err::ok)
                {
                    list.add_content(std::move(sub_list));
                }
            }
            else
            {
                auto str = std::make_unique<ConfKeyContentString>();
                ret = parse_string(*str);
                if (ret == conf_err::ok)
                {
                    list.add_content(std::move(str));
                }
            }
            if (ret != conf_err::ok)
            {
                return ret;
            }
        }
    }

    const std::vector<std::string>& tok;
    std::size_t i = 0;
};

} // namespace

ConfKeyFactory& ConfKeyFactory::use_instance()
{
    static ConfKeyFactory instance;
    return instance;
}

std::unique_ptr<ConfKeyInterface> ConfKeyFactory::create_key_from_string(const std::string& text)
{
    try
    {
        std::vector<std::string> tokens;
        if (lex_text(tokens, text) != conf_err::ok)
        {
            tls_last_error = conf_err::lex_failed;
            return nullptr;
        }

        Parser parser(tokens);
        std::unique_ptr<ConfKeyInterface> key = parser.create_key();
        if (key != nullptr)
        {
            const int ret = parser.parse_key(*key, 1);
            if (ret != conf_err::ok)
            {
                tls_last_error = ret;
                return key;
            }
        }
        // Also covers tokens from which no key could be made at all.
        tls_last_error = parser.is_at_end() ? conf_err::ok : conf_err::tokens_left_over;
        return key;
    }
    catch (...)
    {
        // A refused name: the caller gets the exception, and no stale success code.
        tls_last_error = conf_err::unexpected_kind;
        throw;
    }
}

int ConfKeyFactory::get_last_error() const
{
    return tls_last_error;
}

int ConfKeyFactory::lex_text(std::vector<std::string>& tokens, const std::string& text)
{
    tokens.clear();
    long long brace_depth = 0;
    std::string clean;
    std::size_t line_start = 0;
    while (line_start < text.size())
    {
        std::size_t line_end = text.find('\n', line_start);
        line_end = (line_end == std::string::npos) ? text.size() : line_end + 1;

        clean.clear();
        bool in_quote = false;
        int ret = conf_err::ok;
        for (std::size_t pos = line_start; pos < line_end; ++pos)
        {
            const char c = text[pos];
            if (c == '"')
            {
                in_quote = !in_quote;
                clean += c;
            }
            else if (in_quote)
            {
                clean += c;
            }
            else if (c == '/' && pos + 1 < line_end && text[pos + 1] == '/')
            {
                break;
            }
            else if (c == '=' || c == '{' || c == '}')
            {
                clean += ' ';
                clean += c;
                clean += ' ';
                brace_depth += (c == '{') ? 1 : (c == '}') ? -1 : 0;
                if (brace_depth < 0)
                {
                    ret = conf_err::unbalanced_brace;
                }
            }
            else if (c != '\r')
            {
                clean += c;
            }
        }
        if (in_quote)
        {
            ret = conf_err::unterminated_quote;
        }
        if (ret != conf_err::ok)
        {
            return ret;
        }
        split_line(tokens, clean);
        line_start = line_end;
    }
    return conf_err::ok;
}

} // namespace basic
