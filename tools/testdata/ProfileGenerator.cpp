#include "testdata/ProfileGenerator.h"

#include "testdata/TestFiles.h"

#include "core/XmlEntities.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <random>
#include <stdexcept>

namespace ostiva::testdata {

namespace {

// Draws from std::mt19937 directly: the standard library's distributions differ between
// implementations, and the files must be the same everywhere.
class Random {
  public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}
    double Uniform(double lo, double hi) { return lo + (hi - lo) * (engine_() / 4294967296.0); }
    double Gauss(double sigma) {
        const double u1 = (engine_() + 1.0) / 4294967297.0;
        const double u2 = engine_() / 4294967296.0;
        return sigma * std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
    }
    template <typename T, std::size_t N> const T& Pick(const T (&items)[N]) {
        return items[engine_() % N];
    }
    int Whole(int lo, int hi) { return lo + static_cast<int>(engine_() % (hi - lo + 1)); }

  private:
    std::mt19937 engine_;
};

std::string ZeroPadded(int value, int width) {
    std::string s = std::to_string(value);
    return std::string(std::max(0, width - static_cast<int>(s.size())), '0') + s;
}

ProfileHeader InventHeader(Random& r) {
    static const char* const owners[] = {"Spoorbeheer Noord B.V.", "RailWerk Delta",
                                         "Coöperatie Baanbouw Oost"};
    static const char* const places[] = {"Lindeveen", "Breevelt", "Oostwold-Zuid", "Haverdam",
                                         "Kempenaar"};
    static const char* const tracks[] = {"1", "2", "3a", "12", "104"};
    static const char* const railTypes[] = {"54E1", "60E1", "46E3"};
    static const char* const sides[] = {"L", "R"};
    static const char* const weldTypes[] = {"TW", "EW"};
    static const char* const operators[] = {"P. van Dijkhorst", "M. Verbeek-Aalders",
                                            "J. Oosterhuis", "K. ter Welle"};
    ProfileHeader h;
    h.device = ZeroPadded(r.Whole(1000, 9999), 5);
    h.datum = ZeroPadded(r.Whole(1, 28), 2) + "-" + ZeroPadded(r.Whole(1, 12), 2) + "-2026";
    h.tijd = ZeroPadded(r.Whole(6, 22), 2) + ":" + ZeroPadded(r.Whole(0, 59), 2) + ":" +
             ZeroPadded(r.Whole(0, 59), 2);
    h.eigenaar = r.Pick(owners);
    h.plaats = r.Pick(places);
    h.spoor = r.Pick(tracks);
    h.km = r.Pick(railTypes);
    h.rail = r.Pick(sides);
    h.lasType = r.Pick(weldTypes);
    h.lasSer = r.Pick(operators);
    h.lasNr = "L" + ZeroPadded(r.Whole(1, 999), 3);
    h.werkNummer = "W26-" + ZeroPadded(r.Whole(1, 9999), 4);
    h.wissel = r.Whole(0, 2) == 0
                   ? "W" + std::to_string(r.Whole(1, 40)) + " / " +
                         std::to_string(r.Whole(10, 99)) + "." + ZeroPadded(r.Whole(0, 999), 3)
                   : "";
    return h;
}

// Centred moving average over 2m+1 samples, the window shortened at the ends.
std::vector<double> MovingAverage(const std::vector<double>& v, int m) {
    const int n = static_cast<int>(v.size());
    std::vector<double> out(v.size());
    for (int i = 0; i < n; ++i) {
        const int lo = std::max(0, i - m), hi = std::min(n - 1, i + m);
        double sum = 0;
        for (int k = lo; k <= hi; ++k)
            sum += v[k];
        out[i] = sum / (hi - lo + 1);
    }
    return out;
}

// The value a written text reads back as.
double Rounded(double value, int decimals) {
    const std::string text = FixedText(value, decimals);
    double result = 0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return result;
}

struct Extremes {
    std::string posP, negP, posH, negH;
};

// Versines against the chord of the metre and inclinations over 25 mm, as a device reports.
Extremes VersinesAndInclinations(const std::vector<double>& y) {
    const std::size_t n = std::min<std::size_t>(y.size(), 201);
    double posP = 0, negP = 0, posH = 0, negH = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const double chord = n > 1 ? y[0] + (y[n - 1] - y[0]) * k / (n - 1) : y[0];
        posP = std::max(posP, y[k] - chord);
        negP = std::min(negP, y[k] - chord);
        if (k + 5 < n) {
            const double slope = (y[k + 5] - y[k]) / 0.025; // mm per m
            posH = std::max(posH, slope);
            negH = std::min(negH, slope);
        }
    }
    return {FixedText(posP, 3), FixedText(negP, 3), FixedText(posH, 2), FixedText(negH, 2)};
}

bool Omitted(const GeneratorOptions& o, const std::string& what) {
    return std::find(o.omit.begin(), o.omit.end(), what) != o.omit.end();
}

class XmlBuilder {
  public:
    explicit XmlBuilder(const GeneratorOptions& options) : options_(options) {}

    void Open(const std::string& element,
              const std::vector<std::pair<std::string, std::string>>& attributes, bool empty) {
        out_ += "<" + element;
        for (const auto& [name, value] : attributes) {
            if (Omitted(options_, element + "/" + name))
                continue;
            out_ +=
                " " + name + "=\"" + EncodeXmlText(value, XmlContext::Attribute, nullptr) + "\"";
        }
        out_ += empty ? "/>\r\n" : ">";
    }
    void Close(const std::string& element) { out_ += "</" + element + ">\r\n"; }
    void Raw(const std::string& text) { out_ += text; }
    const std::string& Text() const { return out_; }

  private:
    const GeneratorOptions& options_;
    std::string out_;
};

std::string SampleList(const std::vector<double>& positions, const std::vector<double>& values,
                       int decimals) {
    std::string list = "\r\n";
    for (std::size_t k = 0; k < values.size(); ++k)
        list += FixedText(positions[k], 0) + " " + FixedText(values[k], decimals) + "\r\n";
    return list;
}

// UTF-8 to Latin-1; characters beyond it become "?", as an 8-bit device would store them.
std::string ToLatin1(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            const unsigned cp =
                ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3Fu);
            out += cp <= 0xFF ? static_cast<char>(cp) : '?';
        } else if ((c & 0xC0) != 0x80) {
            out += '?';
        }
    }
    return out;
}

} // namespace

// Worked out from the standard library's digits rather than with the program's own number
// routines, so that tests comparing a record with the generated values check those routines.
std::string FixedText(double value, int decimals) {
    std::array<char, 64> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::abs(value),
                                   std::chars_format::scientific, 14)
                         .ptr;
    const std::string text(buffer.data(), end); // d.dddddddddddddde+XX
    const std::size_t e = text.find('e');
    const std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), end, exponent);

    // The digits of |value| * 10^decimals, rounded.
    const int kept = exponent + 1 + decimals;
    std::string scaled;
    if (kept >= static_cast<int>(digits.size())) {
        scaled = digits + std::string(kept - digits.size(), '0');
    } else if (kept >= 0) {
        scaled = digits.substr(0, kept);
        bool carry = digits[kept] >= '5';
        for (std::size_t i = scaled.size(); carry && i > 0;) {
            char& d = scaled[--i];
            carry = d == '9';
            d = carry ? '0' : static_cast<char>(d + 1);
        }
        if (carry)
            scaled.insert(scaled.begin(), '1');
    }
    if (scaled.size() < static_cast<std::size_t>(decimals) + 1)
        scaled.insert(0, decimals + 1 - scaled.size(), '0');
    if (decimals > 0)
        scaled.insert(scaled.size() - decimals, 1, '.');
    const bool zero = scaled.find_first_not_of("0.") == std::string::npos;
    return (value < 0 && !zero ? "-" : "") + scaled;
}

GeneratedProfile GenerateProfile(const GeneratorOptions& options) {
    Random r(options.seed);
    GeneratedProfile p;
    p.header = options.header ? *options.header : InventHeader(r);

    const double height =
        options.weldHeight ? *options.weldHeight : r.Uniform(0.04, 0.25) * (r.Whole(0, 3) ? 1 : -1);
    const double width = options.weldWidth ? *options.weldWidth : r.Uniform(25, 70);
    const double centre = r.Uniform(-20, 20);
    const double bow = r.Gauss(0.04), tilt = r.Gauss(0.03);
    const double corrAmplitude = r.Uniform(0.004, 0.03), corrWave = r.Uniform(30, 80),
                 corrPhase = r.Uniform(0, 6.3);
    const double shortAmplitude = r.Uniform(0.002, 0.008), shortWave = r.Uniform(12, 25);
    const double noise = r.Uniform(0.001, 0.004);
    const double lateralKink = r.Gauss(0.15), lateralWidth = r.Uniform(60, 200);
    const double lateralBow = r.Gauss(0.1);

    const int n = std::max(0, options.pairs);
    std::vector<double> top(n), zij(n);
    p.positions.resize(n);
    for (int k = 0; k < n; ++k) {
        const double x = -500.0 + 5.0 * k;
        const double s = x / 500.0;
        p.positions[k] = x;
        const double weld = height * std::exp(-std::pow((x - centre) / width, 2));
        const double trend = bow * s * s + tilt * s;
        const double corrugation =
            corrAmplitude * std::sin(2 * std::numbers::pi * x / corrWave + corrPhase);
        const double shortWaves = shortAmplitude * std::sin(2 * std::numbers::pi * x / shortWave);
        top[k] = weld + trend + corrugation + shortWaves + r.Gauss(noise);
        zij[k] = lateralKink * std::exp(-std::pow(x / lateralWidth, 2)) + lateralBow * s * s +
                 r.Gauss(noise);
    }
    const std::vector<double> trend = MovingAverage(top, 30);
    const std::vector<double> smooth = MovingAverage(top, 5);
    p.topMeas.resize(n);
    p.trend.resize(n);
    p.shortWaves.resize(n);
    p.zijMeas.resize(n);
    for (int k = 0; k < n; ++k) {
        p.topMeas[k] = Rounded(top[k], 5);
        p.trend[k] = Rounded(trend[k], 5);
        p.shortWaves[k] = Rounded(top[k] - smooth[k], 5);
        p.zijMeas[k] = Rounded(zij[k], 4);
    }

    const Extremes t = VersinesAndInclinations(p.topMeas);
    p.topPosP = t.posP, p.topNegP = t.negP, p.topPosH = t.posH, p.topNegH = t.negH;
    const Extremes z = VersinesAndInclinations(p.zijMeas);
    p.zijPosP = z.posP, p.zijNegP = z.negP, p.zijPosH = z.posH, p.zijNegH = z.negH;

    double peak = 0, magnitude = 0;
    int crossings = 0;
    for (int k = 0; k < n; ++k) {
        peak = std::max(peak, p.shortWaves[k]);
        magnitude += std::abs(p.shortWaves[k]);
        if (k > 0 && (p.shortWaves[k] < 0) != (p.shortWaves[k - 1] < 0))
            ++crossings;
    }
    p.shortWavesGA = FixedText(n ? magnitude / n * std::numbers::pi / 2 : 0, 4);
    p.shortWavesGG = FixedText(n ? n * 0.5 / std::max(1, crossings / 2) : 0, 2);
    p.shortWavesGSD = FixedText(peak, 4);
    return p;
}

std::string GenerateProfileXml(const GeneratorOptions& options) {
    const GeneratedProfile p = GenerateProfile(options);
    const ProfileHeader& h = p.header;
    const bool latin1 = options.encoding == FileEncoding::Latin1;

    XmlBuilder x(options);
    x.Raw(std::string("<?xml version=\"1.0\" encoding=\"") + (latin1 ? "ISO-8859-1" : "UTF-8") +
          "\"?>\r\n<METING>\r\n");
    auto element = [&](const std::string& name,
                       const std::vector<std::pair<std::string, std::string>>& attributes,
                       const std::string* content) {
        if (Omitted(options, name))
            return;
        x.Open(name, attributes, content == nullptr);
        if (content) {
            x.Raw(*content);
            x.Close(name);
        }
    };
    element("INFO_AUTO",
            {{"DEVICE", h.device}, {"DATUM", h.datum}, {"TIJD", h.tijd}, {"EIGENAAR", h.eigenaar}},
            nullptr);
    element("INFO_MANU",
            {{"PLAATS", h.plaats},
             {"SPOOR", h.spoor},
             {"KM", h.km},
             {"RAIL", h.rail},
             {"LASTYPE", h.lasType},
             {"LASSER", h.lasSer},
             {"LASNR", h.lasNr},
             {"WERKNUMMER", h.werkNummer},
             {"WISSEL", h.wissel},
             {"SNELHEID", options.speed}},
            nullptr);
    const std::string top = SampleList(p.positions, p.topMeas, 5);
    const std::string trend = SampleList(p.positions, p.trend, 5);
    const std::string shortWaves = SampleList(p.positions, p.shortWaves, 5);
    const std::string zij = SampleList(p.positions, p.zijMeas, 4);
    const std::string newNormPlaceholder = "0";
    element("TOP_MEAS",
            {{"POSP", p.topPosP}, {"NEGP", p.topNegP}, {"POSH", p.topPosH}, {"NEGH", p.topNegH}},
            &top);
    element("TREND", {}, &trend);
    element("SHORT_WAVES",
            {{"GA", p.shortWavesGA}, {"GG", p.shortWavesGG}, {"GSD", p.shortWavesGSD}},
            &shortWaves);
    element("ZIJ_MEAS",
            {{"POSP", p.zijPosP}, {"NEGP", p.zijNegP}, {"POSH", p.zijPosH}, {"NEGH", p.zijNegH}},
            &zij);
    element("TOP_QUALITY", {{"QI", ""}, {"NORM", ""}}, nullptr);
    element("ZIJ_QUALITY", {{"QI_POSP_ZIJ", "0.00"}, {"QI_NEGP_ZIJ", "0.00"}}, nullptr);
    element("TOP_DX_DY", {}, &newNormPlaceholder);
    x.Raw("</METING>\r\n");
    return latin1 ? ToLatin1(x.Text()) : x.Text();
}

void WriteProfileFile(const std::string& path, const GeneratorOptions& options) {
    WriteFileBytes(path, GenerateProfileXml(options));
}

namespace {

struct DemoWeld {
    const char* name;
    int speed;
    double height, width;
    const char* weldType;
};

// Welds from good to poor; about a third fail the quality limit at their line speed.
const DemoWeld kDemoWelds[] = {
    {"zq260112_0801", 80, 0.06, 45, "TW"},   {"zq260112_0814", 80, 0.14, 40, "TW"},
    {"zq260112_0833", 80, -0.09, 50, "TW"},  {"zq260112_0902", 120, 0.05, 60, "EW"},
    {"zq260112_0915", 120, 0.12, 35, "TW"},  {"zq260113_1004", 140, 0.04, 55, "EW"},
    {"zq260113_1021", 140, -0.16, 30, "TW"}, {"zq260113_1047", 160, 0.07, 50, "EW"},
    {"zq260113_1110", 40, 0.22, 40, "TW"},   {"zq260113_1132", 60, 0.10, 45, "TW"},
    {"zq260204_0748", 100, 0.08, 40, "EW"},  {"zq260204_0806", 100, -0.05, 65, "EW"},
    {"zq260204_0829", 180, 0.03, 70, "EW"},  {"zq260204_0851", 200, 0.06, 55, "EW"},
    {"zq260204_0917", 250, 0.02, 60, "EW"},  {"zq260205_1302", 300, 0.05, 45, "EW"},
    {"zq260205_1325", 80, 0.30, 35, "TW"},   {"zq260205_1348", 120, -0.07, 40, "TW"},
    {"zq260305_0930", 160, 0.11, 45, "TW"},  {"zq260305_0958", 80, 0.04, 50, "TW"},
};

} // namespace

std::vector<std::string> GenerateDemoProject(const std::string& dir) {
    std::filesystem::create_directories(dir);
    std::vector<std::string> names;
    std::uint32_t seed = 2026;
    for (const DemoWeld& w : kDemoWelds) {
        GeneratorOptions o;
        o.seed = seed++;
        o.speed = std::to_string(w.speed);
        o.weldHeight = w.height;
        o.weldWidth = w.width;
        // The name holds the date and time of the measurement: zqYYMMDD_HHMM. One crew
        // with one device works one job a day.
        const std::string stamp = std::string(w.name).substr(2);
        Random dayRandom(static_cast<std::uint32_t>(std::stoul(stamp.substr(0, 6))));
        const ProfileHeader day = InventHeader(dayRandom);
        Random r(o.seed);
        ProfileHeader h = InventHeader(r);
        h.device = day.device;
        h.eigenaar = day.eigenaar;
        h.plaats = day.plaats;
        h.lasSer = day.lasSer;
        h.werkNummer = day.werkNummer;
        h.datum = stamp.substr(4, 2) + "-" + stamp.substr(2, 2) + "-20" + stamp.substr(0, 2);
        h.tijd =
            stamp.substr(7, 2) + ":" + stamp.substr(9, 2) + ":" + ZeroPadded(r.Whole(0, 59), 2);
        h.lasType = w.weldType;
        o.header = h;
        const std::string name = std::string(w.name) + ".xml";
        const std::filesystem::path path = std::filesystem::path(dir) / name;
        if (!std::filesystem::exists(path))
            WriteProfileFile(path.string(), o);
        names.push_back(name);
    }
    return names;
}

} // namespace ostiva::testdata
