#pragma once
#include "regex/RegexNode.h"
#include "regex/RegexProgram.h"

#include <deque>

// Turns a parsed pattern into a program for CRegexMatcher. A look-behind body is
// compiled backward, so that it is matched right to left from the position it guards.
class CRegexCompiler {
public:
    RegexProgram Compile(const RegexNode& root, int groupCount);

private:
    struct PendingLook {
        const RegexNode* body;
        bool backward;
        int instruction;
    };

    void Emit(const RegexNode& node, bool backward);
    void EmitChildren(const RegexNode& node, bool backward);
    void EmitAlternation(const RegexNode& node, bool backward);
    void EmitRepeat(const RegexNode& node, bool backward);
    int Add(RegexInstruction::Op op, int x = 0, int y = 0);
    int Here() const { return int(m_program.instructions.size()); }

    RegexProgram m_program;
    std::deque<PendingLook> m_pending;
};
