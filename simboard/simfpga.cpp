// The register space of the simulated FPGA and what its logic does with the
// bytes written to it.
#include "simboard/simfpga.h"
#include "hardware/fpga_regs.h"
#include <QSettings>
#include <cstring>

const char* SimFpga::kSocketPath = "/var/run/ornav-simfpga.sock";
const char* SimFpga::kPowerOnPath = "/etc/ornav-simfpga.ini";

namespace {
bool inDeepWindow(unsigned a, unsigned base) { return a >= base && a < base + REG_DEEP_WINDOW; }
bool isStatus(unsigned a) { return a >= REG_STATUS_FIRST && a <= REG_STATUS_LAST; }
} // namespace

SimFpga& SimFpga::instance()
{
    static SimFpga fpga;
    return fpga;
}

SimFpga::SimFpga() { resetLocked(PowerOn()); }

SimFpga::~SimFpga() { stopServer(); }

void SimFpga::reset(const PowerOn& p)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    resetLocked(p);
}

void SimFpga::resetLocked(const PowerOn& p)
{
    std::memset(m_space, 0, sizeof(m_space));
    std::memset(m_keyChip, 0, sizeof(m_keyChip));
    std::memset(m_ledChip, 0, sizeof(m_ledChip));
    m_keys.clear();
    m_keyFlag = false;
    m_tables.clear();
    m_tablesThisLoad.clear();
    for (auto& l : m_lists)
        l.clear();
    m_listsThisLoad.clear();
    m_deep[0].clear();
    m_deep[1].clear();
    m_digData.clear();
    m_digFlag.clear();
    for (auto& o : m_offsetDac)
        o[0] = o[1] = -1;
    m_digTriggers = 0;
    m_writes.clear();
    m_dropped = 0;
    m_space[REG_HW_VER] = p.hwVersion;
    m_space[REG_LOGIC_VER] = p.logicVersion[0];
    m_space[REG_LOGIC_VER + 1] = p.logicVersion[1];
    m_space[REG_CLK_STATUS] = p.clockStatus;
    m_configured = p.configured;
    m_cfgPrepared = false;
    m_erasePolls = p.erasePolls < 0 ? 0 : p.erasePolls;
    m_eraseLeft = 0;
    m_cfgIncoming.clear();
    m_bitstream.clear();
}

bool SimFpga::parseNumber(const QString& text, quint64 max, quint64* value)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.startsWith('-') || t.startsWith('+'))
        return false;
    bool ok = false;
    quint64 v = 0;
    if (t.startsWith("0x", Qt::CaseInsensitive))
        v = t.mid(2).toULongLong(&ok, 16);
    else
        v = t.toULongLong(&ok, 10);
    if (!ok || v > max)
        return false;
    *value = v;
    return true;
}

SimFpga::PowerOn SimFpga::readPowerOn(const QString& iniFile)
{
    PowerOn p;
    QSettings s(iniFile, QSettings::IniFormat);
    auto byteKey = [&s](const char* key, uint8_t* v) {
        quint64 n = 0;
        if (s.contains(key) && parseNumber(s.value(key).toString(), 255, &n))
            *v = uint8_t(n);
    };
    byteKey("HwVersion", &p.hwVersion);
    byteKey("LogicVersion0", &p.logicVersion[0]);
    byteKey("LogicVersion1", &p.logicVersion[1]);
    byteKey("ClockStatus", &p.clockStatus);
    quint64 n = 0;
    if (s.contains("Configured") && parseNumber(s.value("Configured").toString(), 1, &n))
        p.configured = n != 0;
    if (s.contains("ErasePolls") && parseNumber(s.value("ErasePolls").toString(), 1000, &n))
        p.erasePolls = int(n);
    return p;
}

void SimFpga::powerOn(const QString& iniFile) { reset(readPowerOn(iniFile)); }

// ---- register device --------------------------------------------------------

void SimFpga::logWrite(const userCmd& cmd, int count)
{
    if (m_writes.size() >= kMaxLoggedWrites) {
        ++m_dropped;
        return;
    }
    WriteRecord w;
    w.address = cmd.Adata;
    w.unit = cmd.unit;
    w.count = count;
    if (cmd.unit == FPGA_UNIT_BYTES) {
        const int inSpace = int(qMin<unsigned>(unsigned(count), unsigned(kSpaceSize) - cmd.Adata));
        w.bytes = QByteArray(static_cast<const char*>(cmd.AddrUser), inSpace);
    }
    m_writes.append(w);
}

int SimFpga::write(const userCmd& cmd, int count)
{
    if (count <= 0 || cmd.AddrUser == nullptr)
        return count == 0 ? 0 : -1;
    std::lock_guard<std::mutex> lock(m_mutex);
    logWrite(cmd, count);
    const unsigned base = cmd.Adata;
    if (cmd.unit == FPGA_UNIT_BYTES) {
        const auto* p = static_cast<const uint8_t*>(cmd.AddrUser);
        // Bytes beyond the end of the 16-bit space are not taken.
        for (int i = 0; i < count && base + unsigned(i) < unsigned(kSpaceSize); ++i)
            applyByte(base + unsigned(i), p[i]);
        return count;
    }
    if (cmd.unit == FPGA_UNIT_WORDS) {
        // A word stream goes into the one port at Adata: the low byte to the
        // port address, the high byte to the next, once per word.
        const auto* p = static_cast<const uint8_t*>(cmd.AddrUser);
        for (int i = 0; i < count; ++i) {
            uint16_t w;
            std::memcpy(&w, p + 2 * i, 2);
            applyByte(base, uint8_t(w & 0xFF));
            if (base + 1 < unsigned(kSpaceSize))
                applyByte(base + 1, uint8_t(w >> 8));
        }
        return count;
    }
    return -1;
}

unsigned SimFpga::writeWindowed(unsigned base, unsigned window, unsigned offset, const uint8_t* data, size_t n)
{
    if (window == 0)
        return 0;
    offset %= window;
    if (data == nullptr)
        return unsigned((offset + n) % window);
    std::lock_guard<std::mutex> lock(m_mutex);
    const bool deep = (base == REG_DEEP1_DATA || base == REG_DEEP2_DATA) && window <= REG_DEEP_WINDOW;
    const uint8_t* p = data;
    size_t left = n;
    unsigned at = offset;
    if (deep && m_writes.size() >= kMaxLoggedWrites) {
        // The log is full: its transfers are only counted (one for the rest
        // of the first window, one per window after it).
        const size_t first = left < window - at ? left : window - at;
        m_dropped += int(1 + (left - first + window - 1) / window);
        at = unsigned((at + left) % window);
        left = 0;
    }
    while (left > 0) {
        const size_t k = left < window - at ? left : window - at;
        userCmd cmd;
        cmd.unit = FPGA_UNIT_BYTES;
        cmd.AddrUser = const_cast<uint8_t*>(p);
        cmd.Adata = static_cast<uint16_t>(base + at);
        logWrite(cmd, int(k));
        if (!deep)
            for (size_t i = 0; i < k && base + at + i < unsigned(kSpaceSize); ++i)
                applyByte(unsigned(base + at + i), p[i]);
        p += k;
        left -= k;
        at = unsigned((at + k) % window);
    }
    if (deep) {
        const int ch = base == REG_DEEP2_DATA ? 1 : 0;
        if (m_space[ch == 0 ? REG_DEEP1_LOAD : REG_DEEP2_LOAD]) {
            const qint64 room = qint64(kDeepBytes) - m_deep[ch].size();
            if (room > 0)
                m_deep[ch].append(reinterpret_cast<const char*>(data), int(qMin<qint64>(room, qint64(n))));
        }
        // The window's registers hold the last byte written to each.
        const size_t tail = n < window ? n : window;
        for (size_t i = n - tail; i < n; ++i)
            m_space[base + (offset + i) % window] = data[i];
    }
    return at;
}

int SimFpga::read(const userCmd& cmd, int count)
{
    if (count <= 0 || cmd.AddrUser == nullptr)
        return count == 0 ? 0 : -1;
    if (cmd.unit != FPGA_UNIT_BYTES)
        return -1;
    std::lock_guard<std::mutex> lock(m_mutex);
    auto* p = static_cast<uint8_t*>(cmd.AddrUser);
    int n = 0;
    for (unsigned a = cmd.Adata; n < count && a < unsigned(kSpaceSize); ++a, ++n) {
        if (a == REG_KEY_CODE) {
            // Each read takes the next key event; with none pending it reads 0.
            m_space[a] = 0;
            if (!m_keys.empty()) {
                m_space[a] = m_keys.front();
                m_keys.pop_front();
                m_keyFlag = !m_keys.empty();
            }
        }
        p[n] = m_space[a];
    }
    return n;
}

int SimFpga::control(unsigned long request, unsigned long)
{
    if (request != FPGA_IOCTL_KEY_FLAG)
        return -1;
    return m_keyFlag.load(std::memory_order_acquire) ? 1 : 0;
}

void SimFpga::applyByte(unsigned a, uint8_t v)
{
    if (isStatus(a))
        return; // driven by the FPGA, not by the application
    const uint8_t old = m_space[a];
    m_space[a] = v;

    if (a < REG_CH_AREA_END) {
        if ((a & 0xFF) == REG_SAFE_CLR && (v & 1))
            m_space[REG_SAFE_STATUS] &= uint8_t(~(3u << (2 * (a >> 8))));
        return;
    }
    if (inDeepWindow(a, REG_DEEP1_DATA) || inDeepWindow(a, REG_DEEP2_DATA)) {
        const int ch = a < REG_DEEP2_LOAD ? 0 : 1;
        if (m_space[ch == 0 ? REG_DEEP1_LOAD : REG_DEEP2_LOAD] && m_deep[ch].size() < kDeepBytes)
            m_deep[ch].append(char(v));
        return;
    }
    switch (a) {
    case REG_DEEP1_LOAD:
    case REG_DEEP2_LOAD:
        if (!old && v) {
            // A new load starts the memory afresh; the buffer stays, so the
            // next wave of a similar size is written into pages already there.
            QByteArray& deep = m_deep[a == REG_DEEP1_LOAD ? 0 : 1];
            if (deep.capacity() > 0)
                deep.reserve(deep.capacity());
            deep.resize(0);
        }
        break;
    case REG_TABLE_LOAD:
        if (!old && v)
            m_tablesThisLoad.clear();
        break;
    case REG_TABLE_DATA + 1: // the high byte completes a word
        if (m_space[REG_TABLE_LOAD])
            appendTableWord(uint16_t(m_space[REG_TABLE_DATA] | (v << 8)));
        break;
    case REG_LIST_LOAD:
        if (!old && v)
            m_listsThisLoad.clear();
        break;
    case REG_LIST_DATA + 4: { // the fifth byte completes an entry
        if (m_space[REG_LIST_LOAD]) {
            quint64 e = 0;
            for (int k = 4; k >= 0; --k)
                e = (e << 8) | m_space[REG_LIST_DATA + unsigned(k)];
            appendListEntry(e);
        }
        break;
    }
    case REG_DIG_LOAD:
        if (!old && v) {
            m_digData.clear();
            m_digFlag.clear();
            m_digTriggers = 0;
        }
        break;
    case REG_DIG_MANUAL:
        // A manual send is the pulse 1 then 0.
        if (old && !v)
            ++m_digTriggers;
        break;
    case REG_DIG_DATA:
        if (m_space[REG_DIG_LOAD])
            m_digData.append(char(v));
        break;
    case REG_DIG_FLAG:
        if (m_space[REG_DIG_LOAD])
            m_digFlag.append(char(v));
        break;
    case REG_KEY_PORT + 1: keyPortWord(uint16_t(m_space[REG_KEY_PORT] | (v << 8))); break;
    case REG_OFS_DAC + 1: offsetDacWord(uint16_t(m_space[REG_OFS_DAC] | (v << 8))); break;
    case REG_LED_PORT + 1:
        // LED expander word: chip register in the high byte, value in the low.
        m_ledChip[v & 0x7F] = m_space[REG_LED_PORT];
        break;
    default: break;
    }
}

void SimFpga::appendTableWord(uint16_t word)
{
    const int target = m_space[REG_TABLE_SELECT];
    if (!m_tablesThisLoad.contains(target)) {
        m_tablesThisLoad.insert(target);
        m_tables[target].clear();
    }
    QVector<quint16>& t = m_tables[target];
    if (t.size() < kDeepBytes / 2)
        t.append(word);
}

void SimFpga::appendListEntry(quint64 entry)
{
    const uint8_t mask = m_space[REG_LIST_CH];
    for (int ch = 0; ch < 4; ++ch) {
        if (!(mask & (1u << ch)))
            continue;
        if (!m_listsThisLoad.contains(ch)) {
            m_listsThisLoad.insert(ch);
            m_lists[ch].clear();
        }
        if (m_lists[ch].size() < 65536)
            m_lists[ch].append(entry);
    }
}

// The key expander: chip register in bits 8..14, bit 15 asks for a read of
// that register, whose value the FPGA places in REG_KEY_READBACK.
void SimFpga::keyPortWord(uint16_t word)
{
    const uint8_t reg = uint8_t((word >> 8) & 0x7F);
    if (word & 0x8000)
        m_space[REG_KEY_READBACK] = m_keyChip[reg];
    else
        m_keyChip[reg] = uint8_t(word & 0xFF);
}

// The two offset DACs each serve a pair of channels (select 0: CH1/CH2,
// select 1: CH3/CH4; select 2 is the counter's trigger DAC). Bit 15 of a word
// addresses the first channel of the pair, bit 12 the fine output, the low
// 12 bits are the DAC code.
void SimFpga::offsetDacWord(uint16_t word)
{
    const uint8_t sel = m_space[REG_OFS_DAC_SEL];
    if (sel > 1)
        return;
    const int ch = sel * 2 + ((word & 0x8000) ? 0 : 1);
    m_offsetDac[ch][(word & 0x1000) ? 1 : 0] = word & 0x0FFF;
}

// ---- outside view -----------------------------------------------------------

QByteArray SimFpga::peek(unsigned address, int count) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (count <= 0 || address >= unsigned(kSpaceSize))
        return QByteArray();
    const int n = int(qMin<unsigned>(unsigned(count), unsigned(kSpaceSize) - address));
    return QByteArray(reinterpret_cast<const char*>(m_space + address), n);
}

bool SimFpga::poke(unsigned address, const QByteArray& bytes)
{
    if (address >= unsigned(kSpaceSize) || unsigned(bytes.size()) > unsigned(kSpaceSize) - address)
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    std::memcpy(m_space + address, bytes.constData(), size_t(bytes.size()));
    return true;
}

void SimFpga::queueKey(uint8_t code)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_keys.size() < 256) // the expander's event FIFO is small; keep it bounded
        m_keys.push_back(code);
    m_keyFlag = !m_keys.empty();
}

int SimFpga::pendingKeys() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_keys.size());
}

uint8_t SimFpga::keyChipReg(uint8_t reg) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_keyChip[reg & 0x7F];
}

uint8_t SimFpga::ledChipReg(uint8_t reg) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_ledChip[reg & 0x7F];
}

QVector<SimFpga::WriteRecord> SimFpga::writes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_writes;
}

int SimFpga::droppedWrites() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_dropped;
}

void SimFpga::clearWrites()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_writes.clear();
    m_dropped = 0;
}

QString SimFpga::formatWrite(const WriteRecord& w)
{
    QString s = QStringLiteral("0x%1").arg(w.address, 4, 16, QLatin1Char('0'));
    if (w.unit != FPGA_UNIT_BYTES)
        return s + QStringLiteral(" [%1 words]").arg(w.count);
    for (char c : w.bytes)
        s += QStringLiteral(" %1").arg(uint8_t(c), 2, 16, QLatin1Char('0'));
    return s;
}

QStringList SimFpga::logLines() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QStringList lines;
    lines.reserve(m_writes.size() + 1);
    for (const WriteRecord& w : m_writes)
        lines << formatWrite(w);
    if (m_dropped > 0)
        lines << QStringLiteral("# %1 later writes not kept").arg(m_dropped);
    return lines;
}
