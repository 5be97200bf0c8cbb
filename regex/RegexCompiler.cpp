#include "regex/RegexCompiler.h"

#include <algorithm>
#include <cstddef>

using Op = RegexInstruction::Op;
using Kind = RegexNode::Kind;

RegexProgram CRegexCompiler::Compile(const RegexNode& root, int groupCount)
{
    m_program = RegexProgram();
    m_program.groupCount = groupCount;
    Emit(root, false);
    Add(Op::Match);
    while (!m_pending.empty()) {
        const PendingLook look = m_pending.front();
        m_pending.pop_front();
        m_program.instructions[look.instruction].x = Here();
        Emit(*look.body, look.backward);
        Add(Op::Match);
    }
    return std::move(m_program);
}

int CRegexCompiler::Add(Op op, int x, int y)
{
    RegexInstruction instruction;
    instruction.op = op;
    instruction.x = x;
    instruction.y = y;
    m_program.instructions.push_back(instruction);
    return Here() - 1;
}

void CRegexCompiler::Emit(const RegexNode& node, bool backward)
{
    switch (node.kind) {
    case Kind::Empty: break;
    case Kind::Character: {
        RegexInstruction& step = m_program.instructions[Add(Op::Character)];
        step.character = node.character;
        step.flag = node.ignoreCase;
        step.backward = backward;
        break;
    }
    case Kind::AnyCharacter: {
        RegexInstruction& step = m_program.instructions[Add(Op::AnyCharacter)];
        step.flag = node.matchesLineFeed;
        step.backward = backward;
        break;
    }
    case Kind::Set: {
        m_program.sets.push_back(node.set);
        RegexInstruction& step = m_program.instructions[Add(Op::Set, int(m_program.sets.size()) - 1)];
        step.flag = node.ignoreCase;
        step.backward = backward;
        break;
    }
    case Kind::TextStart: Add(Op::TextStart); break;
    case Kind::TextEnd: Add(Op::TextEnd); break;
    case Kind::Group:
        // Going backward the group's end is reached first.
        Add(Op::Save, 2 * node.group + (backward ? 1 : 0));
        Emit(node.children.front(), backward);
        Add(Op::Save, 2 * node.group + (backward ? 0 : 1));
        break;
    case Kind::LookAhead:
    case Kind::LookBehind: {
        const int look = Add(Op::Look);
        m_program.instructions[look].flag = node.negative;
        m_pending.push_back({&node.children.front(), node.kind == Kind::LookBehind, look});
        break;
    }
    case Kind::Repeat: EmitRepeat(node, backward); break;
    case Kind::Sequence: EmitChildren(node, backward); break;
    case Kind::Alternation: EmitAlternation(node, backward); break;
    }
}

void CRegexCompiler::EmitChildren(const RegexNode& node, bool backward)
{
    if (backward)
        std::for_each(node.children.rbegin(), node.children.rend(), [&](const RegexNode& child) { Emit(child, backward); });
    else
        std::for_each(node.children.begin(), node.children.end(), [&](const RegexNode& child) { Emit(child, backward); });
}

void CRegexCompiler::EmitAlternation(const RegexNode& node, bool backward)
{
    std::vector<int> jumpsToEnd;
    for (std::size_t i = 0; i < node.children.size(); ++i) {
        const bool last = i + 1 == node.children.size();
        const int split = last ? -1 : Add(Op::Split, Here() + 1);
        Emit(node.children[i], backward);
        if (last)
            break;
        jumpsToEnd.push_back(Add(Op::Jump));
        m_program.instructions[split].y = Here();
    }
    for (const int jump : jumpsToEnd)
        m_program.instructions[jump].x = Here();
}

// Repeats are greedy: the body is always tried before leaving.
void CRegexCompiler::EmitRepeat(const RegexNode& node, bool backward)
{
    const RegexNode& body = node.children.front();
    if (node.minimum == 1) { // X+
        const int start = Here();
        Emit(body, backward);
        Add(Op::Split, start, Here() + 1);
        return;
    }
    const int split = Add(Op::Split, Here() + 1);
    Emit(body, backward);
    if (node.maximum == RegexNode::kUnbounded) // X*
        Add(Op::Jump, split);
    m_program.instructions[split].y = Here(); // X? leaves here too
}
