#include "cli/picture_options.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <algorithm>
#include <array>
#include <set>

#include "cli/option_table.h"
#include "cli/picture_file.h"
#include "png/png_export.h"
#include "view/frame_description.h"

namespace orbitograph {

namespace {

// The options a description may hold: what draws the frame, nothing that
// reads or writes files or changes how the command runs.
bool DrawsTheFrame(std::string_view name) {
    static const std::set<std::string_view> others = {
        "--origin",    "--size",          "--single",        "--no-params",     "--grid",
        "--legend",    "--a-symmetry",    "--fit",           "--font-size",     "--legend-hx",
        "--legend-hy", "--legend-max-hx", "--legend-min-hx", "--legend-max-hy", "--legend-min-hy",
        "--legend-t",  "--legend-o",      "--legend-m",      "--legend-h"};
    for (int f = 0; f <= static_cast<int>(ParamField::Y2); ++f) {
        if (name == ParamOptionName(static_cast<ParamField>(f))) return true;
    }
    return others.contains(name);
}

}  // namespace

bool ReadPictureDescription(const std::string& file, PictureDescription& out, std::string& why) {
    QByteArray bytes;
    if (!ReadRegularFile(file, bytes, why)) return false;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid()) {
        why = "not a PNG picture";
        return false;
    }
    const QString key = QString::fromLatin1(kPngTextKey);
    if (!reader.textKeys().contains(key)) {
        why = "the picture holds no description (no text chunk '" + key.toStdString() + "')";
        return false;
    }
    out.text = reader.text(key).toStdString();
    out.width = size.width();
    out.height = size.height();
    return true;
}

DescriptionOptions CheckDescription(std::string_view text) {
    DescriptionTokens split = SplitDescription(text);
    if (!split.tokens) return {{}, false, "malformed description: " + split.error};
    const std::vector<std::string>& tokens = *split.tokens;
    std::set<std::string> seen;
    const auto& table = OptionTable();
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const auto option =
            std::find_if(table.begin(), table.end(), [&](const CommandOption& o) { return o.name == tokens[i]; });
        if (option == table.end() || !DrawsTheFrame(option->name))
            return {
                {}, false, "malformed description: " + Quoted(tokens[i]) + " is not an option that draws the frame"};
        if (!seen.insert(tokens[i]).second)
            return {{}, false, "malformed description: " + Quoted(tokens[i]) + " is given twice"};
        if (!option->argument.empty() && ++i >= tokens.size())
            return {{}, false, "malformed description: " + tokens[i - 1] + " has no value"};
    }
    std::vector<std::string_view> required;
    for (int f = 0; f <= static_cast<int>(ParamField::Y2); ++f)
        required.push_back(ParamOptionName(static_cast<ParamField>(f)));
    required.push_back("--origin");
    for (const std::string_view name : required) {
        if (!seen.contains(std::string(name)))
            return {{}, false, "malformed description: it does not give " + std::string(name)};
    }
    const OptionsResult parsed = ParseRenderOptions(tokens);
    if (!parsed.options) return {{}, false, "malformed description: " + parsed.error};
    return {std::move(*split.tokens), seen.contains("--size"), {}};
}

OptionsResult OptionsFromPicture(const std::string& file, const std::vector<std::string>& args) {
    PictureDescription picture;
    std::string why;
    if (!ReadPictureDescription(file, picture, why)) return {std::nullopt, "--from: " + Quoted(file) + ": " + why};
    DescriptionOptions checked = CheckDescription(picture.text);
    if (!checked.error.empty()) return {std::nullopt, "--from: " + Quoted(file) + ": " + checked.error};
    std::vector<std::string> line;
    if (!checked.sizeGiven) {
        line = {"--size", std::to_string(picture.width) + "x" + std::to_string(picture.height)};
    }
    line.insert(line.end(), checked.tokens.begin(), checked.tokens.end());
    line.insert(line.end(), args.begin(), args.end());
    return ParseRenderOptions(line);
}

}  // namespace orbitograph
