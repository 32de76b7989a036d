#pragma once
// A status-bar message built by display-free code. It is kept in pieces so
// that the window can look up each fixed text in the translation catalogue
// while numbers and user data pass through unchanged.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct StatusText {
    struct Piece {
        std::string text;
        bool translate = true;   // a fixed text of the program, looked up in the catalogue
    };
    std::vector<Piece> pieces;

    StatusText() = default;
    // One fixed text.
    explicit StatusText(std::string text) { pieces.push_back({std::move(text), true}); }

    // prefix + count ("%i") + suffix, e.g. "Selected " 12 " cells.".
    static StatusText counted(const char* prefix, std::int64_t count, const char* suffix = " cells.");

    StatusText& fixed(std::string text)
    {
        pieces.push_back({std::move(text), true});
        return *this;
    }
    StatusText& literal(std::string text)
    {
        pieces.push_back({std::move(text), false});
        return *this;
    }

    // No message: the status bar keeps what it shows.
    bool empty() const { return pieces.empty(); }

    // The message with every fixed piece passed through `translate`
    // (std::string(const std::string&)).
    template <typename Translate>
    std::string compose(Translate&& translate) const
    {
        std::string text;
        for (const Piece& piece : pieces)
            text += piece.translate ? std::string(translate(piece.text)) : piece.text;
        return text;
    }
    // The message as written, untranslated.
    std::string plain() const
    {
        return compose([](const std::string& text) { return text; });
    }
};
