#pragma once

#include <memory>

#include "basic/ConfKeyStreamInterface.hpp"

namespace basic
{

// The value of a leaf key: a string or a list of values.
class ConfKeyContentInterface : public ConfKeyStreamInterface
{
public:
    ~ConfKeyContentInterface() override = default;

    // A deep copy owned by the caller.
    virtual std::unique_ptr<ConfKeyContentInterface> clone() const = 0;

protected:
    ConfKeyContentInterface() = default;
    ConfKeyContentInterface(const ConfKeyContentInterface&) = default;
    ConfKeyContentInterface& operator=(const ConfKeyContentInterface&) = default;
};

} // namespace basic
