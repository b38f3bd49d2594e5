#pragma once

#include <QtGlobal>

namespace quindle::demo {

// A small random source whose sequence is fixed for a seed on every platform and library
// (the standard distributions are not), so a demo folder can be made again byte for byte.
class DemoRandom
{
public:
    explicit DemoRandom(quint64 seed) : m_state(seed) {}

    // Mixes several numbers into one seed, so each picture gets its own independent sequence
    // that does not depend on the order in which pictures are drawn.
    static quint64 mix(quint64 seed, quint64 a, quint64 b = 0)
    {
        DemoRandom random(seed ^ (a * 0x9E3779B97F4A7C15ULL) ^ (b * 0xC2B2AE3D27D4EB4FULL));
        random.next();
        return random.next();
    }

    quint64 next()
    {
        m_state += 0x9E3779B97F4A7C15ULL;
        quint64 z = m_state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // A whole number from low to high, both included.
    int between(int low, int high)
    {
        if (high <= low)
            return low;
        const quint64 span = static_cast<quint64>(high - low) + 1;
        return low + static_cast<int>(next() % span);
    }

    // A real number from low up to (not including) high.
    double real(double low = 0.0, double high = 1.0)
    {
        const double unit = static_cast<double>(next() >> 11) / static_cast<double>(1ULL << 53);
        return low + unit * (high - low);
    }

private:
    quint64 m_state = 0;
};

} // namespace quindle::demo
