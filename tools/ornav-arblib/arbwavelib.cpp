#include "tools/ornav-arblib/arbwavelib.h"
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <sys/stat.h>

namespace arbwavelib {
namespace {

const int kPoints = 8192;
const double PI = 3.14159265358979323846;

using Fill = std::function<void(std::vector<double>&)>;

struct Entry {
    Wave wave;
    Fill fill;
};

// A wave given as a function of the phase t in [0, 1).
Fill of(std::function<double(double)> f)
{
    return [f](std::vector<double>& v) {
        for (int i = 0; i < kPoints; ++i)
            v[size_t(i)] = f(double(i) / kPoints);
    };
}

// x running over [a, b] across the wave.
Fill over(double a, double b, std::function<double(double)> f)
{
    return of([=](double t) { return f(a + (b - a) * t); });
}

double gauss(double x, double mu, double sigma) { return std::exp(-0.5 * std::pow((x - mu) / sigma, 2)); }

// Deterministic noise sources: the library is the same on every build.
struct Rng {
    uint64_t s;
    explicit Rng(uint64_t seed) : s(seed * 0x9E3779B97F4A7C15ull + 1) {}
    double uniform() // (-1, 1)
    {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return double(s >> 11) / double(1ull << 53) * 2.0 - 1.0 + 1e-12;
    }
    double normal()
    {
        double u = (uniform() + 1) / 2, w = (uniform() + 1) / 2;
        if (u < 1e-12)
            u = 1e-12;
        return std::sqrt(-2 * std::log(u)) * std::cos(2 * PI * w);
    }
};

Fill noise(uint64_t seed, std::function<void(std::vector<double>&, Rng&)> f)
{
    return [seed, f](std::vector<double>& v) {
        Rng r(seed);
        f(v, r);
    };
}

// One heart beat of a synthetic ECG: P, Q, R, S and T waves as Gaussians.
double ecg(double t)
{
    return 0.12 * gauss(t, 0.20, 0.025) - 0.10 * gauss(t, 0.36, 0.008) + 1.0 * gauss(t, 0.40, 0.010) -
        0.25 * gauss(t, 0.43, 0.010) + 0.30 * gauss(t, 0.65, 0.045);
}

// A beat train: `beats` beats per wave.
double ecgTrain(double t, int beats) { return ecg(std::fmod(t * beats, 1.0)); }

double square(double t, double duty) { return std::fmod(t, 1.0) < duty ? 1.0 : -1.0; }

const std::vector<Entry>& entries()
{
    static const std::vector<Entry> all = [] {
        std::vector<Entry> e;
        auto add = [&e](const char* folder, const char* name, const char* what, Fill f) {
            e.push_back({{folder, name, what}, std::move(f)});
        };
        // ---- inverse trigonometric and hyperbolic functions
        add("AntiTrigonome", "ACos", "arc cosine over -1..1", over(-1, 1, [](double x) { return std::acos(x); }));
        add("AntiTrigonome", "ASin", "arc sine over -1..1", over(-1, 1, [](double x) { return std::asin(x); }));
        add("AntiTrigonome", "ATan", "arc tangent over -10..10", over(-10, 10, [](double x) { return std::atan(x); }));
        add("AntiTrigonome", "ACot", "arc cotangent over -10..10",
            over(-10, 10, [](double x) { return PI / 2 - std::atan(x); }));
        add("AntiTrigonome", "ASinH", "area sine over -10..10", over(-10, 10, [](double x) { return std::asinh(x); }));
        add("AntiTrigonome", "ACosH", "area cosine over 1..10", over(1, 10, [](double x) { return std::acosh(x); }));
        add("AntiTrigonome", "ATanH", "area tangent over -0.99..0.99",
            over(-0.99, 0.99, [](double x) { return std::atanh(x); }));
        add("AntiTrigonome", "ASec", "arc secant over 1..10", over(1, 10, [](double x) { return std::acos(1 / x); }));
        add("AntiTrigonome", "ACsc", "arc cosecant over 1..10", over(1, 10, [](double x) { return std::asin(1 / x); }));
        // ---- trigonometric functions
        add("Trigonome", "Sin", "sine, one period", of([](double t) { return std::sin(2 * PI * t); }));
        add("Trigonome", "Cos", "cosine, one period", of([](double t) { return std::cos(2 * PI * t); }));
        add("Trigonome", "Tan", "tangent over -1.5..1.5 rad", over(-1.5, 1.5, [](double x) { return std::tan(x); }));
        add("Trigonome", "Cot", "cotangent over 0.1..3.04 rad",
            over(0.1, PI - 0.1, [](double x) { return 1 / std::tan(x); }));
        add("Trigonome", "Sec", "secant over -1.4..1.4 rad", over(-1.4, 1.4, [](double x) { return 1 / std::cos(x); }));
        add("Trigonome", "Csc", "cosecant over 0.15..3 rad",
            over(0.15, PI - 0.15, [](double x) { return 1 / std::sin(x); }));
        add("Trigonome", "SinH", "hyperbolic sine over -3..3", over(-3, 3, [](double x) { return std::sinh(x); }));
        add("Trigonome", "CosH", "hyperbolic cosine over -3..3", over(-3, 3, [](double x) { return std::cosh(x); }));
        add("Trigonome", "TanH", "hyperbolic tangent over -3..3", over(-3, 3, [](double x) { return std::tanh(x); }));
        // ---- bioelectric signals
        add("Bioelect", "ECG", "one synthetic heart beat (P, QRS, T)", of(ecg));
        add("Bioelect", "EEG_Alpha", "alpha rhythm: 10 Hz with a slower envelope",
            of([](double t) { return std::sin(2 * PI * 10 * t) * (0.6 + 0.4 * std::sin(2 * PI * t)); }));
        add("Bioelect", "EEG_Beta", "beta rhythm: 20 and 27 Hz components",
            of([](double t) { return std::sin(2 * PI * 20 * t) + 0.5 * std::sin(2 * PI * 27 * t + 1); }));
        add("Bioelect", "EMG", "muscle burst: noise under a Gaussian envelope",
            noise(11, [](std::vector<double>& v, Rng& r) {
                for (int i = 0; i < kPoints; ++i)
                    v[size_t(i)] = r.normal() * gauss(double(i) / kPoints, 0.5, 0.12);
            }));
        add("Bioelect", "EOG", "eye movement: smooth steps between gaze positions",
            of([](double t) { return std::tanh(40 * (t - 0.25)) - std::tanh(40 * (t - 0.75)); }));
        add("Bioelect", "ActionPotential", "nerve action potential: depolarisation, repolarisation, undershoot",
            of([](double t) { return 1.0 * gauss(t, 0.3, 0.03) - 0.2 * gauss(t, 0.42, 0.07) - 0.05; }));
        add("Bioelect", "PPG", "photoplethysmogram: systolic peak and dicrotic notch",
            of([](double t) { return gauss(t, 0.3, 0.08) + 0.45 * gauss(t, 0.58, 0.09); }));
        add("Bioelect", "Respiration", "breathing: asymmetric inhale and exhale",
            of([](double t) { return t < 0.4 ? std::sin(PI * t / 0.8) : std::cos(PI * (t - 0.4) / 1.2); }));
        // ---- medical test signals
        add("Medical", "ECG_Normal", "three beats at a steady rate", of([](double t) { return ecgTrain(t, 3); }));
        add("Medical", "ECG_Tachy", "six beats: a fast heart rate", of([](double t) { return ecgTrain(t, 6); }));
        add("Medical", "ECG_Brady", "one beat with a long pause",
            of([](double t) { return t < 0.5 ? ecg(t * 2) : 0.0; }));
        add("Medical", "Pacemaker", "pacing spike followed by a paced beat",
            of([](double t) { return (t > 0.10 && t < 0.102 ? 2.0 : 0.0) + ecg(std::min(1.0, t + 0.2)); }));
        add("Medical", "BloodPressure", "arterial pressure: systolic rise, dicrotic notch, diastolic decay",
            of([](double t) { return 80 + 40 * gauss(t, 0.2, 0.07) + 12 * gauss(t, 0.45, 0.06) - 10 * t; }));
        add("Medical", "Defibrillation", "biphasic truncated exponential pulse", of([](double t) {
                if (t < 0.1 || t >= 0.7)
                    return 0.0;
                if (t < 0.4)
                    return std::exp(-(t - 0.1) * 3);
                return -0.6 * std::exp(-(t - 0.4) * 3);
            }));
        add("Medical", "EEG_Spike", "epileptiform spike and slow wave",
            of([](double t) { return 1.5 * gauss(t, 0.3, 0.01) - 0.6 * gauss(t, 0.45, 0.06); }));
        add("Medical", "Ultrasound", "5-cycle Gaussian-windowed ultrasound burst",
            of([](double t) { return std::sin(2 * PI * 20 * t) * gauss(t, 0.5, 0.06); }));
        // ---- everyday waveforms
        add("Common", "Sine", "sine", of([](double t) { return std::sin(2 * PI * t); }));
        add("Common", "Square", "square, 50 % duty", of([](double t) { return square(t, 0.5); }));
        add("Common", "RampUp", "rising ramp", of([](double t) { return t; }));
        add("Common", "RampDown", "falling ramp", of([](double t) { return 1 - t; }));
        add("Common", "Triangle", "triangle", of([](double t) { return 1 - 4 * std::fabs(t - 0.5); }));
        add("Common", "Pulse10", "pulse, 10 % duty", of([](double t) { return square(t, 0.1); }));
        add("Common", "StairUp", "eight rising steps", of([](double t) { return std::floor(t * 8); }));
        add("Common", "HalfRect", "half-wave rectified sine",
            of([](double t) { return std::max(0.0, std::sin(2 * PI * t)); }));
        add("Common", "FullRect", "full-wave rectified sine",
            of([](double t) { return std::fabs(std::sin(2 * PI * t)); }));
        add("Common", "Trapezia", "trapezoid: rise, top, fall, bottom", of([](double t) {
                if (t < 0.2)
                    return t / 0.2;
                if (t < 0.5)
                    return 1.0;
                if (t < 0.7)
                    return 1 - (t - 0.5) / 0.2;
                return 0.0;
            }));
        // ---- wavelets
        add("Complex_Wavelets", "MexHat", "Mexican hat (Ricker) wavelet",
            over(-8, 8, [](double x) { return (1 - x * x) * std::exp(-x * x / 2); }));
        add("Complex_Wavelets", "Morlet", "real Morlet wavelet",
            over(-4, 4, [](double x) { return std::exp(-x * x / 2) * std::cos(5 * x); }));
        add("Complex_Wavelets", "MorletImag", "imaginary part of the complex Morlet wavelet",
            over(-4, 4, [](double x) { return std::exp(-x * x / 2) * std::sin(5 * x); }));
        add("Complex_Wavelets", "Gauss1", "first derivative of a Gaussian",
            over(-5, 5, [](double x) { return -x * std::exp(-x * x / 2); }));
        add("Complex_Wavelets", "Gauss3", "third derivative of a Gaussian",
            over(-5, 5, [](double x) { return (3 * x - x * x * x) * std::exp(-x * x / 2); }));
        add("Complex_Wavelets", "Haar", "Haar wavelet",
            of([](double t) { return t < 0.25 || t >= 0.75 ? 0.0 : (t < 0.5 ? 1.0 : -1.0); }));
        add("Complex_Wavelets", "Shannon", "Shannon (sinc) wavelet", over(-10, 10, [](double x) {
                const double s = std::fabs(x) < 1e-9 ? 1.0 : std::sin(PI * x / 2) / (PI * x / 2);
                return s * std::cos(3 * PI * x / 2);
            }));
        add("Complex_Wavelets", "Poisson", "Poisson wavelet of order 2",
            over(0, 12, [](double x) { return (x - 2) / 2 * x * std::exp(-x); }));
        add("Complex_Wavelets", "Gabor", "Gabor atom",
            over(-3, 3, [](double x) { return std::exp(-PI * x * x) * std::cos(2 * PI * 3 * x); }));
        // ---- engine signals
        add("Engine", "Ignition", "ignition secondary: spark line and ringing", of([](double t) {
                if (t < 0.1)
                    return 0.0;
                if (t < 0.12)
                    return 8.0;
                if (t < 0.4)
                    return 1.2;
                return std::exp(-(t - 0.4) * 12) * std::sin(2 * PI * 30 * (t - 0.4));
            }));
        add("Engine", "Injector", "injector pulse with inductive kick", of([](double t) {
                if (t < 0.2 || t >= 0.6)
                    return t >= 0.6 ? 3.0 * std::exp(-(t - 0.6) * 60) : 0.0;
                return -1.0;
            }));
        add("Engine", "Crank60_2", "crank sensor: 60-2 tooth wheel", of([](double t) {
                const int tooth = int(t * 60);
                return tooth >= 58 ? 0.0 : std::sin(2 * PI * t * 60);
            }));
        add("Engine", "Cam", "cam sensor: one window per revolution", of([](double t) { return square(t, 0.25); }));
        add("Engine", "Knock", "knock: damped 7-cycle ringing",
            of([](double t) { return t < 0.3 ? 0.0 : std::exp(-(t - 0.3) * 8) * std::sin(2 * PI * 12 * (t - 0.3)); }));
        add("Engine", "Alternator", "alternator output: three-phase bridge ripple", of([](double t) {
                double m = 0;
                for (int k = 0; k < 3; ++k)
                    m = std::max(m, std::fabs(std::sin(2 * PI * 3 * t + k * 2 * PI / 3)));
                return m;
            }));
        add("Engine", "Piston", "piston position of a slider crank (rod ratio 3.5)", of([](double t) {
                const double a = 2 * PI * t, l = 3.5;
                return std::cos(a) + std::sqrt(l * l - std::sin(a) * std::sin(a));
            }));
        add("Engine", "CylPressure", "cylinder pressure: compression and Wiebe combustion", of([](double t) {
                const double a = 4 * PI * (t - 0.5);
                const double comp = 1.0 / (1.08 - std::cos(a / 2) * 0.9);
                const double burn = t > 0.5 ? 1 - std::exp(-5 * std::pow((t - 0.5) / 0.15, 3)) : 0;
                return comp * (1 + 2.5 * burn * std::exp(-(t - 0.5) * 4));
            }));
        // ---- mathematical functions
        add("Maths", "Gauss", "Gaussian", over(-4, 4, [](double x) { return std::exp(-x * x / 2); }));
        add("Maths", "Lorentz", "Lorentz (Cauchy) curve", over(-10, 10, [](double x) { return 1 / (1 + x * x); }));
        add("Maths", "Sinc", "sin(x)/x over -8 pi..8 pi",
            over(-8 * PI, 8 * PI, [](double x) { return std::fabs(x) < 1e-9 ? 1.0 : std::sin(x) / x; }));
        add("Maths", "ExpRise", "exponential rise 1 - e^-5t", of([](double t) { return 1 - std::exp(-5 * t); }));
        add("Maths", "ExpFall", "exponential decay e^-5t", of([](double t) { return std::exp(-5 * t); }));
        add("Maths", "Log", "natural logarithm over 0.1..10", over(0.1, 10, [](double x) { return std::log(x); }));
        add("Maths", "Sqrt", "square root over 0..1", of([](double t) { return std::sqrt(t); }));
        add("Maths", "X2", "parabola x^2 over -1..1", over(-1, 1, [](double x) { return x * x; }));
        add("Maths", "X3", "cubic x^3 over -1..1", over(-1, 1, [](double x) { return x * x * x; }));
        add("Maths", "BesselJ0", "Bessel function J0 over 0..30",
            over(0, 30, [](double x) { return std::cyl_bessel_j(0.0, x); }));
        add("Maths", "Dirichlet", "Dirichlet kernel of order 8", over(-PI, PI, [](double x) {
                const double s = std::sin(x / 2);
                return std::fabs(s) < 1e-9 ? 17.0 : std::sin(8.5 * x) / s;
            }));
        // ---- other examples
        add("Other", "ChirpUp", "linear chirp 1..20 cycles",
            of([](double t) { return std::sin(2 * PI * (1 * t + 9.5 * t * t)); }));
        add("Other", "ChirpDown", "linear chirp 20..1 cycles",
            of([](double t) { return std::sin(2 * PI * (20 * t - 9.5 * t * t)); }));
        add("Other", "ChirpLog", "logarithmic chirp 1..50 cycles",
            of([](double t) { return std::sin(2 * PI * (std::pow(50.0, t) - 1) / std::log(50.0)); }));
        add("Other", "DampedSine", "damped sine, 10 cycles",
            of([](double t) { return std::exp(-4 * t) * std::sin(2 * PI * 10 * t); }));
        add("Other", "RisingSine", "growing sine, 10 cycles",
            of([](double t) { return (1 - std::exp(-4 * t)) * std::sin(2 * PI * 10 * t); }));
        add("Other", "Beat", "beat of 20 and 22 cycles",
            of([](double t) { return std::sin(2 * PI * 20 * t) + std::sin(2 * PI * 22 * t); }));
        add("Other", "StepResp", "step response of a second-order system (zeta 0.2)", of([](double t) {
                const double z = 0.2, w = 2 * PI * 5, wd = w * std::sqrt(1 - z * z);
                return 1 - std::exp(-z * w * t) * (std::cos(wd * t) + z / std::sqrt(1 - z * z) * std::sin(wd * t));
            }));
        add("Other", "SquareHarm5", "square from its first five odd harmonics", of([](double t) {
                double s = 0;
                for (int k = 1; k <= 9; k += 2)
                    s += std::sin(2 * PI * k * t) / k;
                return s;
            }));
        add("Other", "Cardioid", "cardioid radius 1 + cos", of([](double t) { return 1 + std::cos(2 * PI * t); }));
        // ---- modulation examples
        add("SectMod", "AM", "AM: 20 cycles, 80 % depth, one modulating period",
            of([](double t) { return (1 + 0.8 * std::sin(2 * PI * t)) * std::sin(2 * PI * 20 * t); }));
        add("SectMod", "DSB_SC", "double sideband, suppressed carrier",
            of([](double t) { return std::sin(2 * PI * t) * std::sin(2 * PI * 20 * t); }));
        add("SectMod", "FM", "FM: 20 cycles, index 5",
            of([](double t) { return std::sin(2 * PI * 20 * t + 5 * std::sin(2 * PI * t)); }));
        add("SectMod", "PM", "PM: 20 cycles, +-90 degrees",
            of([](double t) { return std::sin(2 * PI * 20 * t + PI / 2 * square(t, 0.5)); }));
        add("SectMod", "ASK", "ASK: bits 10110010 at 4 cycles a bit", of([](double t) {
                static const int bits[8] = {1, 0, 1, 1, 0, 0, 1, 0};
                return bits[std::min(7, int(t * 8))] * std::sin(2 * PI * 32 * t);
            }));
        add("SectMod", "FSK", "FSK: bits 10110010, 4 and 2 cycles a bit", of([](double t) {
                static const int bits[8] = {1, 0, 1, 1, 0, 0, 1, 0};
                double ph = 0;
                const int b = std::min(7, int(t * 8));
                for (int k = 0; k < b; ++k)
                    ph += bits[k] ? 4 : 2;
                ph += (t * 8 - b) * (bits[b] ? 4 : 2);
                return std::sin(2 * PI * ph);
            }));
        add("SectMod", "BPSK", "BPSK: bits 10110010 at 4 cycles a bit", of([](double t) {
                static const int bits[8] = {1, 0, 1, 1, 0, 0, 1, 0};
                return (bits[std::min(7, int(t * 8))] ? 1 : -1) * std::sin(2 * PI * 32 * t);
            }));
        add("SectMod", "PWM", "PWM: 16 periods, duty following a sine", of([](double t) {
                const double duty = 0.5 + 0.4 * std::sin(2 * PI * t);
                return square(t * 16, duty);
            }));
        add("SectMod", "ToneBurst", "tone burst: 10 cycles on, then off",
            of([](double t) { return t < 0.5 ? std::sin(2 * PI * 20 * t) : 0.0; }));
        // ---- automotive test pulses
        add("Automotive", "LoadDump", "load dump: exponential surge over the battery level", of([](double t) {
                return 13.5 + (t > 0.05 ? 60 * (1 - std::exp(-(t - 0.05) * 200)) * std::exp(-(t - 0.05) * 6) : 0);
            }));
        add("Automotive", "Cranking", "starter cranking: dip and ripple of the battery", of([](double t) {
                if (t < 0.1)
                    return 12.0;
                if (t < 0.15)
                    return 6.0;
                if (t < 0.8)
                    return 8.0 + 1.0 * std::sin(2 * PI * 10 * t);
                return 12.0;
            }));
        add("Automotive", "InductivePulse", "negative pulse from disconnecting an inductive load",
            of([](double t) { return t < 0.1 ? 0.0 : -std::exp(-(t - 0.1) * 10); }));
        add("Automotive", "Lambda", "lambda sensor switching lean/rich",
            of([](double t) { return 0.45 + 0.4 * std::tanh(6 * std::sin(2 * PI * 2 * t)); }));
        add("Automotive", "WheelSpeed", "ABS wheel speed sensor during braking",
            of([](double t) { return (1 - 0.5 * t) * std::sin(2 * PI * (30 * t - 10 * t * t)); }));
        add("Automotive", "ThrottlePWM", "throttle drive PWM, 16 periods at 30 % duty",
            of([](double t) { return square(t * 16, 0.3); }));
        add("Automotive", "CanBits", "CAN-like differential bit pattern", of([](double t) {
                static const int bits[16] = {0, 1, 1, 0, 1, 0, 0, 0, 1, 1, 1, 0, 1, 0, 1, 1};
                return bits[std::min(15, int(t * 16))] ? 1.0 : -1.0;
            }));
        add("Automotive", "StarterRipple", "starter current ripple",
            of([](double t) { return 1 + 0.3 * std::fabs(std::sin(2 * PI * 6 * t)); }));
        // ---- window functions
        add("Window", "Hann", "Hann window", of([](double t) { return 0.5 - 0.5 * std::cos(2 * PI * t); }));
        add("Window", "Hamming", "Hamming window", of([](double t) { return 0.54 - 0.46 * std::cos(2 * PI * t); }));
        add("Window", "Blackman", "Blackman window",
            of([](double t) { return 0.42 - 0.5 * std::cos(2 * PI * t) + 0.08 * std::cos(4 * PI * t); }));
        add("Window", "BlackmanHarris", "4-term Blackman-Harris window", of([](double t) {
                return 0.35875 - 0.48829 * std::cos(2 * PI * t) + 0.14128 * std::cos(4 * PI * t) -
                    0.01168 * std::cos(6 * PI * t);
            }));
        add("Window", "Bartlett", "Bartlett (triangular) window",
            of([](double t) { return 1 - std::fabs(2 * t - 1); }));
        add("Window", "FlatTop", "flat-top window", of([](double t) {
                return 0.21557895 - 0.41663158 * std::cos(2 * PI * t) + 0.277263158 * std::cos(4 * PI * t) -
                    0.083578947 * std::cos(6 * PI * t) + 0.006947368 * std::cos(8 * PI * t);
            }));
        add("Window", "Gaussian", "Gaussian window, sigma 0.15", of([](double t) { return gauss(t, 0.5, 0.15); }));
        add("Window", "Kaiser", "Kaiser window, beta 8", of([](double t) {
                const double x = 2 * t - 1;
                return std::cyl_bessel_i(0.0, 8 * std::sqrt(std::max(0.0, 1 - x * x))) / std::cyl_bessel_i(0.0, 8.0);
            }));
        add("Window", "Tukey", "Tukey window, alpha 0.5", of([](double t) {
                if (t < 0.25)
                    return 0.5 * (1 - std::cos(2 * PI * t / 0.5));
                if (t > 0.75)
                    return 0.5 * (1 - std::cos(2 * PI * (1 - t) / 0.5));
                return 1.0;
            }));
        add("Window", "Welch", "Welch window", of([](double t) { return 1 - std::pow(2 * t - 1, 2); }));
        // ---- noise
        add("Noise", "White", "white noise, uniform", noise(1, [](std::vector<double>& v, Rng& r) {
                for (double& x : v)
                    x = r.uniform();
            }));
        add("Noise", "Gaussian", "white noise, normal distribution", noise(2, [](std::vector<double>& v, Rng& r) {
                for (double& x : v)
                    x = r.normal();
            }));
        add("Noise", "Pink", "pink (1/f) noise, Paul Kellet's filter", noise(3, [](std::vector<double>& v, Rng& r) {
                double b0 = 0, b1 = 0, b2 = 0;
                for (double& x : v) {
                    const double w = r.normal();
                    b0 = 0.99765 * b0 + w * 0.0990460;
                    b1 = 0.96300 * b1 + w * 0.2965164;
                    b2 = 0.57000 * b2 + w * 1.0526913;
                    x = b0 + b1 + b2 + w * 0.1848;
                }
            }));
        add("Noise", "Brown", "brown (1/f^2) noise: leaky integral of white noise",
            noise(4, [](std::vector<double>& v, Rng& r) {
                double s = 0;
                for (double& x : v)
                    x = s = 0.995 * s + r.normal();
            }));
        add("Noise", "Blue", "blue noise: first difference of white noise",
            noise(5, [](std::vector<double>& v, Rng& r) {
                double last = r.normal();
                for (double& x : v) {
                    const double w = r.normal();
                    x = w - last;
                    last = w;
                }
            }));
        add("Noise", "Violet", "violet noise: second difference of white noise",
            noise(6, [](std::vector<double>& v, Rng& r) {
                double a = r.normal(), b = r.normal();
                for (double& x : v) {
                    const double w = r.normal();
                    x = w - 2 * b + a;
                    a = b;
                    b = w;
                }
            }));
        add("Noise", "Impulse", "impulse noise: sparse random spikes", noise(7, [](std::vector<double>& v, Rng& r) {
                for (double& x : v)
                    x = r.uniform() > 0.995 ? r.uniform() : 0.0;
            }));
        add("Noise", "BandLimited", "band-limited noise: sum of 32 random-phase tones",
            noise(8, [](std::vector<double>& v, Rng& r) {
                double ph[32];
                for (double& p : ph)
                    p = r.uniform() * PI;
                for (int i = 0; i < kPoints; ++i) {
                    double s = 0;
                    for (int k = 0; k < 32; ++k)
                        s += std::sin(2 * PI * (40 + k) * i / kPoints + ph[k]);
                    v[size_t(i)] = s;
                }
            }));
        return e;
    }();
    return all;
}

void put(std::vector<unsigned char>& out, const char* text) { out.insert(out.end(), text, text + std::strlen(text)); }

bool makeDirs(const std::string& path)
{
    std::string p;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            if (!p.empty() && ::mkdir(p.c_str(), 0755) != 0 && errno != EEXIST)
                return false;
        }
        if (i < path.size())
            p += path[i];
    }
    return true;
}

} // namespace

const std::vector<Wave>& catalogue()
{
    static const std::vector<Wave> waves = [] {
        std::vector<Wave> w;
        for (const Entry& e : entries())
            w.push_back(e.wave);
        return w;
    }();
    return waves;
}

const std::vector<std::string>& folders()
{
    static const std::vector<std::string> f = {"AntiTrigonome", "Bioelect", "Common", "Complex_Wavelets", "Engine",
                                               "Maths",         "Medical",  "Other",  "SectMod",          "Automotive",
                                               "Trigonome",     "Window",   "Noise"};
    return f;
}

std::vector<unsigned char> fileBytes(const Wave& w)
{
    for (const Entry& e : entries()) {
        if (e.wave.folder != w.folder || e.wave.name != w.name)
            continue;
        std::vector<double> v(kPoints, 0.0);
        e.fill(v);
        for (double& x : v)
            if (!std::isfinite(x))
                x = 0;
        double lo = v[0], hi = v[0];
        for (double x : v) {
            lo = std::min(lo, x);
            hi = std::max(hi, x);
        }
        std::vector<unsigned char> out;
        char line[128];
        put(out, "[HEAD]:0\r\n");
        put(out, "FREQUENCY:1000\r\n");
        put(out, "VPP:2\r\n");
        put(out, "MAX:32767\r\n");
        put(out, "MIN:-32767\r\n");
        std::snprintf(line, sizeof line, "[DATA]:%d\r\n", kPoints);
        put(out, line);
        for (double x : v) {
            const double s = hi > lo ? (x - lo) / (hi - lo) * 65534.0 - 32767.0 : 0.0;
            const int16_t q = int16_t(std::lround(std::max(-32767.0, std::min(32767.0, s))));
            const uint16_t u = uint16_t(q);
            out.push_back(static_cast<unsigned char>(u & 0xFF));
            out.push_back(static_cast<unsigned char>(u >> 8));
        }
        return out;
    }
    return {};
}

int writeLibrary(const std::string& dir, std::string* error)
{
    int n = 0;
    for (const Wave& w : catalogue()) {
        const std::string folder = dir + "/" + w.folder;
        const std::string path = folder + "/" + w.name + ".bsv";
        if (!makeDirs(folder)) {
            if (error)
                *error = "cannot create " + folder;
            return -1;
        }
        const std::vector<unsigned char> bytes = fileBytes(w);
        // Keep a file that already holds these bytes (no needless rewrite).
        if (FILE* f = std::fopen(path.c_str(), "rb")) {
            std::vector<unsigned char> old(bytes.size() + 1);
            const size_t got = std::fread(old.data(), 1, old.size(), f);
            std::fclose(f);
            if (got == bytes.size() && std::equal(bytes.begin(), bytes.end(), old.begin())) {
                ++n;
                continue;
            }
        }
        FILE* f = std::fopen(path.c_str(), "wb");
        bool ok = f != nullptr;
        if (ok) {
            ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
            ok = std::fclose(f) == 0 && ok;
        }
        if (!ok) {
            if (error)
                *error = "cannot write " + path;
            return -1;
        }
        ++n;
    }
    return n;
}

} // namespace arbwavelib
