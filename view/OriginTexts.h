// What the list and the detail panel say about where an association lives
// and what really opens the file.
#pragma once
#include <string>

#include "model/ClassesOrigin.h"

// The "場所" column: ユーザー, コンピューター, ユーザー＋コンピューター, or
// nothing for a key that is in neither.
const char* OriginText(ClassesOrigin origin);

// The detail panel's sentence on where subject (such as 拡張子「.txt」)
// lives and whose setting counts.
std::string OriginSentence(ClassesOrigin origin, const std::string& subject);

// The detail panel's sentence when the user's choice names another type
// than the creator: chosenName is that type's name as the list shows it.
// opened: what the choice opens, as the sentence names it.
std::string UserChoiceSentence(const std::string& chosenName, const std::string& opened = "このファイル");
