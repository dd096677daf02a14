#pragma once

// What screen readers announce for each control of the window, beside the control table that
// makes the controls: the same Japanese texts on every toolkit. The captions alone say too
// little: the buttons read "＞" and "＜", and the three time boxes have no caption of their own.

#include "window/layout.h"

#include <array>
#include <string_view>

namespace vorlane {

struct AccessibleText {
    std::u16string_view name;        ///< empty for a control that assistive technology skips
    std::u16string_view description; ///< empty with the name
};

/// The accessible name and description of each row of Controls, in the table's order. The two
/// "：" separators are decoration, with nothing to say that the boxes' names do not: they are
/// silent, with no name, no description and no text, and reported invisible.
inline constexpr std::array<AccessibleText, Controls.size()> AccessibleTexts{{
    {u"フレーム番号", u"0から2591999までのフレーム番号。Enterで時刻に変換します。"},
    {u"フレーム番号から時刻へ変換", u"フレーム番号を時、分、秒．フレームに変換します。"},
    {u"時刻の時", u"時刻の時、0から24まで。Enterで分の欄に進みます。"},
    {u"時刻の分", u"時刻の分。Enterで秒．フレームの欄に進みます。"},
    {u"時刻の秒．フレーム",
     u"秒と、小数点以下2桁のフレーム数。12.05は12秒5フレーム。Enterでフレーム番号に変換します。"},
    {u"時刻からフレーム番号へ変換", u"時、分、秒．フレームをフレーム番号に変換します。"},
    {u"フレーム番号", u"フレーム番号の欄の見出し"},
    {u"時：分：秒．フレーム", u"時刻の三つの欄の見出し"},
    {},
    {},
    {u"形式", u"タイムコードの数え方。切り替えると直前の変換をやり直します。"},
    {u"ノンドロップフレーム", u"1分を1800フレームとして数えます。"},
    {u"ドロップフレーム",
     u"29.97フレーム毎秒の数え方。10で割り切れない分の初めにフレーム00と01を飛ばします。"},
}};

/// Whether assistive technology is to pass over the control of `row`.
constexpr bool isSilent(const AccessibleText& row) {
    return row.name.empty();
}

} // namespace vorlane
