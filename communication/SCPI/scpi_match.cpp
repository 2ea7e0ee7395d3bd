#include "communication/SCPI/scpi_match.h"
#include <climits>
#include <cstring>

static char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

static bool isLower(char c) { return c >= 'a' && c <= 'z'; }

static bool isDigit(char c) { return c >= '0' && c <= '9'; }

static bool equalNoCase(const char* a, const char* b, int len)
{
    for (int i = 0; i < len; i++)
        if (upper(a[i]) != upper(b[i]))
            return false;
    return true;
}

bool SCPI_MatchMnemonic(const char* pattern, int plen, const char* value, int len)
{
    if (!pattern || !value || plen <= 0 || len <= 0)
        return false;
    int shortLen = 0;
    while (shortLen < plen && !isLower(pattern[shortLen]))
        shortLen++;
    if (len == plen && equalNoCase(pattern, value, len))
        return true;
    return len == shortLen && equalNoCase(pattern, value, len);
}

namespace {

struct Node {
    const char* ptr;
    int len;
    int group; // 0: required; otherwise the optional group it belongs to
    int place; // index of its "#" place, -1 without one
};

struct Pattern {
    Node nodes[SCPI_MAX_PATTERN_NODES];
    int count = 0;
    int places = 0;
    bool query = false;
};

struct Header {
    const char* nodes[SCPI_INPUT_BUFFER_LENGTH];
    int lens[SCPI_INPUT_BUFFER_LENGTH];
    int count = 0;
    bool query = false;
};

// Splits a pattern into nodes; false for a pattern this matcher cannot take
// (too many nodes or places, unbalanced brackets).
bool splitPattern(const char* text, Pattern* p)
{
    int len = int(strlen(text));
    if (len > 0 && text[len - 1] == '?') {
        p->query = true;
        len--;
    }
    int group = 0, groups = 0;
    const char* start = nullptr;
    auto endNode = [&](const char* end) -> bool {
        if (!start)
            return true;
        if (p->count >= SCPI_MAX_PATTERN_NODES)
            return false;
        Node& n = p->nodes[p->count++];
        n.ptr = start;
        n.len = int(end - start);
        n.group = group;
        n.place = -1;
        if (n.len > 0 && start[n.len - 1] == '#') {
            n.len--;
            if (p->places >= SCPI_MAX_PATTERN_NUMBERS)
                return false;
            n.place = p->places++;
        }
        start = nullptr;
        return n.len > 0;
    };
    for (int i = 0; i < len; i++) {
        const char c = text[i];
        if (c == '[') {
            if (!endNode(text + i) || group != 0)
                return false;
            group = ++groups;
        } else if (c == ']') {
            if (!endNode(text + i) || group == 0)
                return false;
            group = 0;
        } else if (c == ':') {
            if (!endNode(text + i))
                return false;
        } else if (!start) {
            start = text + i;
        }
    }
    return endNode(text + len) && group == 0 && p->count > 0;
}

bool splitHeader(const char* text, int len, Header* h)
{
    if (len > 0 && text[len - 1] == '?') {
        h->query = true;
        len--;
    }
    int i = 0;
    if (i < len && text[i] == ':')
        i++;
    while (i <= len) {
        int j = i;
        while (j < len && text[j] != ':')
            j++;
        if (j == i || h->count >= SCPI_INPUT_BUFFER_LENGTH)
            return false; // empty node ("A::B", "A:") or absurdly many
        h->nodes[h->count] = text + i;
        h->lens[h->count] = j - i;
        h->count++;
        i = j + 1;
    }
    return h->count > 0;
}

// Saturating decimal value of the digits.
int32_t digitsValue(const char* d, int len)
{
    long long v = 0;
    for (int i = 0; i < len; i++) {
        v = v * 10 + (d[i] - '0');
        if (v > INT32_MAX)
            return INT32_MAX;
    }
    return int32_t(v);
}

bool matchNode(const Node& n, const char* value, int len, int32_t* numbers)
{
    if (n.place < 0)
        return SCPI_MatchMnemonic(n.ptr, n.len, value, len);
    int base = len;
    while (base > 0 && isDigit(value[base - 1]))
        base--;
    if (!SCPI_MatchMnemonic(n.ptr, n.len, value, base))
        return false;
    numbers[n.place] = base == len ? 1 : digitsValue(value + base, len - base);
    return true;
}

// Pattern nodes from pi on against header nodes from hi on. Optional groups
// are tried taken first, then left out; a left-out place reads 1.
bool matchFrom(const Pattern& p, int pi, const Header& h, int hi, int32_t* numbers)
{
    if (pi == p.count)
        return hi == h.count;
    const int group = p.nodes[pi].group;
    if (group == 0) {
        if (hi >= h.count || !matchNode(p.nodes[pi], h.nodes[hi], h.lens[hi], numbers))
            return false;
        return matchFrom(p, pi + 1, h, hi + 1, numbers);
    }
    int end = pi;
    while (end < p.count && p.nodes[end].group == group)
        end++;
    const int n = end - pi;
    bool taken = hi + n <= h.count;
    for (int k = 0; taken && k < n; k++)
        taken = matchNode(p.nodes[pi + k], h.nodes[hi + k], h.lens[hi + k], numbers);
    if (taken && matchFrom(p, end, h, hi + n, numbers))
        return true;
    for (int k = pi; k < end; k++)
        if (p.nodes[k].place >= 0)
            numbers[p.nodes[k].place] = 1;
    return matchFrom(p, end, h, hi, numbers);
}

} // namespace

static bool matchSplit(const char* pattern, const Header& h, int32_t* numbers, int count)
{
    for (int i = 0; numbers && i < count; i++)
        numbers[i] = 1;
    if (!pattern)
        return false;
    Pattern p;
    if (!splitPattern(pattern, &p) || p.query != h.query)
        return false;
    int32_t found[SCPI_MAX_PATTERN_NUMBERS];
    for (int32_t& f : found)
        f = 1;
    if (!matchFrom(p, 0, h, 0, found))
        return false;
    for (int i = 0; numbers && i < count && i < p.places; i++)
        numbers[i] = found[i];
    return true;
}

bool SCPI_MatchNumbers(const char* pattern, const char* header, int len, int32_t* numbers, int count)
{
    Header h;
    if (!header || len <= 0 || !splitHeader(header, len, &h)) {
        for (int i = 0; numbers && i < count; i++)
            numbers[i] = 1;
        return false;
    }
    return matchSplit(pattern, h, numbers, count);
}

// False when the pattern's first node is a required one that the header's
// first node does not match, which rules the pattern out (true leaves the
// question to the whole match). A lookup walks the command table for every
// command received; splitting each pattern in full on the way was most of
// the SCPI worker's time per setter, and nearly every pattern differs in
// its first node.
static bool firstNodeMayMatch(const char* pattern, const Header& h)
{
    if (!pattern || pattern[0] == '[' || pattern[0] == ':')
        return true;
    int len = 0;
    while (pattern[len] && pattern[len] != ':' && pattern[len] != '[' && pattern[len] != ']' &&
           !(pattern[len] == '?' && pattern[len + 1] == '\0'))
        len++;
    Node n {pattern, len, 0, -1};
    if (len > 0 && pattern[len - 1] == '#') {
        n.len--;
        n.place = 0;
    }
    if (n.len <= 0)
        return true;
    int32_t number[1];
    return matchNode(n, h.nodes[0], h.lens[0], number);
}

const scpi_command_t* SCPI_FindCommand(const scpi_command_t* list, const char* header, int len)
{
    Header h;
    if (!list || !header || len <= 0 || !splitHeader(header, len, &h))
        return nullptr;
    for (const scpi_command_t* cmd = list; cmd->pattern; cmd++)
        if (firstNodeMayMatch(cmd->pattern, h) && matchSplit(cmd->pattern, h, nullptr, 0))
            return cmd;
    return nullptr;
}

bool SCPI_Match(const char* pattern, const char* header, int len)
{
    return SCPI_MatchNumbers(pattern, header, len, nullptr, 0);
}

bool SCPI_IsCmd(scpi_t* c, const char* pattern)
{
    if (!c || !c->param_list.cmd || !c->param_list.cmd_raw.data)
        return false;
    return SCPI_Match(pattern, c->param_list.cmd_raw.data, c->param_list.cmd_raw.length);
}

bool SCPI_CommandNumbers(scpi_t* c, int32_t* numbers, size_t count)
{
    if (!numbers)
        return false;
    const int n = count > size_t(INT_MAX) ? INT_MAX : int(count);
    if (!c || !c->param_list.cmd || !c->param_list.cmd->pattern || !c->param_list.cmd_raw.data) {
        for (int i = 0; i < n; i++)
            numbers[i] = 1;
        return false;
    }
    return SCPI_MatchNumbers(c->param_list.cmd->pattern, c->param_list.cmd_raw.data, c->param_list.cmd_raw.length,
                             numbers, n);
}

int32_t SCPI_CmdTag(scpi_t* c) { return (c && c->param_list.cmd) ? c->param_list.cmd->tag : 0; }

const char* SCPI_ChoiceToName(const scpi_choice_def_t* options, int32_t tag)
{
    for (const scpi_choice_def_t* o = options; o && o->name; o++)
        if (o->tag == tag)
            return o->name;
    return nullptr;
}
