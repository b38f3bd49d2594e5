#pragma once

namespace quindle {

// Ends the program at once: no destructors, no closing handlers, nothing saved.
class ProgramEnd
{
public:
    virtual ~ProgramEnd() = default;
    [[noreturn]] virtual void end(int status) = 0;
};

class ImmediateProgramEnd final : public ProgramEnd
{
public:
    [[noreturn]] void end(int status) override;
};

} // namespace quindle
