#pragma once

namespace plux
{

class BankManager;

// Lets the caller of a bank load refuse a bank that parsed well but does not suit it.
class BankCheckInterface
{
public:
    virtual ~BankCheckInterface() = default;

    // True to accept the parsed bank; the target bank is left alone otherwise.
    virtual bool check_bank(const BankManager& bank) const = 0;
};

} // namespace plux
