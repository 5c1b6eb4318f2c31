#pragma once
// Synthetic profile files as a measuring device writes them: a weld bump or dip on a smooth
// trend with corrugation, short waves and noise, the lateral profile, the versines and
// inclinations, and header data. The same options always give the same bytes.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ostiva::testdata {

enum class FileEncoding { Utf8, Latin1 };

struct ProfileHeader {
    std::string device, datum, tijd, eigenaar;
    std::string plaats, spoor, km, rail, lasType, lasSer, lasNr, werkNummer, wissel;
};

struct GeneratorOptions {
    std::uint32_t seed = 1;
    // SNELHEID as written; need not be a number.
    std::string speed = "80";
    // Position/value pairs per sample list (positions go on past +500 beyond 201 pairs).
    int pairs = 201;
    // Weld height in mm (negative: a dip) and its half width in mm; drawn from the seed
    // when not given.
    std::optional<double> weldHeight, weldWidth;
    // Invented from the seed when not given.
    std::optional<ProfileHeader> header;
    // "ELEMENT/ATTRIBUTE" leaves out one attribute, "ELEMENT" a whole element.
    std::vector<std::string> omit;
    FileEncoding encoding = FileEncoding::Utf8;
};

// The curves and texts of one generated file, values exactly as written (rounded).
struct GeneratedProfile {
    ProfileHeader header;
    std::vector<double> positions, topMeas, trend, shortWaves, zijMeas;
    std::string topPosP, topNegP, topPosH, topNegH;
    std::string zijPosP, zijNegP, zijPosH, zijNegH;
    std::string shortWavesGA, shortWavesGG, shortWavesGSD;
};

GeneratedProfile GenerateProfile(const GeneratorOptions& options);

// How the generator writes a number: fixed notation with `decimals` digits, halves rounded away
// from zero as judged on 15 significant digits, and no "-" on a value that rounds to zero.
std::string FixedText(double value, int decimals);

// The file's bytes (in the chosen encoding, lines ended CR LF).
std::string GenerateProfileXml(const GeneratorOptions& options);

// Writes the file, replacing one that exists. Throws std::runtime_error on failure.
void WriteProfileFile(const std::string& path, const GeneratorOptions& options);

// Writes the demo project, about twenty profile files zq*.xml of varied welds, speeds and
// header data, into `dir` (created when missing). A file that exists already is left as it is,
// so a user's edits of the demo survive. Returns the file names in order.
std::vector<std::string> GenerateDemoProject(const std::string& dir);

} // namespace ostiva::testdata
