#pragma once

#include "ravik/MessageInterface.hpp"

namespace ravik
{

class MenuList;

// Shows root as a pop-up menu at the cursor's position plus offset.
class MenuRequest : public MessageUp
{
public:
    explicit MenuRequest(MenuList& root, const Point& offset = {})
        : root(&root)
        , offset(offset)
    {
    }

    MenuList* root;
    Point offset;
};

class MenuStop : public MessageUp
{
};

} // namespace ravik
