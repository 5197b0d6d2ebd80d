#pragma once

// The language the user picked with the flags. German is the one at start-up.
enum class Language {
    German,
    English,
};
