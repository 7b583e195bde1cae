// A library that is no plug-in: it exports neither VSTPluginMain nor main.
extern "C" int no_entry_answer()
{
    return 42;
}
