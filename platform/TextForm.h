#pragma once
// The text form of a binary form: its readable twin, written so that converting it back
// gives the same bytes.
//
//   object Form1: TForm1          one component: name and class ("object TClass" unnamed)
//     Caption = 'It''s'#13#10     strings: printable ASCII quoted, other characters #nnn
//     Count = 12                  integers in the shortest kind that holds them
//     Scale = 224.0               extended reals: the shortest exact decimal text
//     Kind = stPolygon            identifiers bare; True, False and nil are the literals
//     Options = [a, b]            sets
//     Points = (                  lists: one value per line, ")" after the last
//       1
//       2)
//     Items = <                   collections: items, "end>" after the last
//       item
//         Name = 'x'
//       end>
//     Picture.Data = {            binary data: 32 bytes per line of hex, "}" after the last
//       0754426974...}
//     object Child: TChild        child components follow the properties
//     end
//   end
//
// Values the plain notation cannot tell apart carry a tag before them:
//   int16:5, int32:5              an integer stored wider than it needs
//   0x7FFFC000000000000000        an extended real no decimal text reproduces (NaN,
//                                 infinity, unnormal): sign-and-exponent word, significand
//   double:1.5, double:0x7FF8000000000000
//                                 a 64-bit real (kind 21), decimal or raw bits
//   string:'x', lstring:'x'       a one-byte-per-character string whose kind or content
//                                 differs from what its text implies (#nnn is then a byte)
//   utf8:'x'                      a UTF-8 string that is plain ASCII
//   ident:'True', ident:'a b'     an identifier spelled like a literal or a word of the
//                                 syntax, or that is not a name
//   item 3, item int32:3          a collection item's leading integer
// Names that are not identifiers, or are the words object, end or item, are quoted.
#include <string>
#include <string_view>

namespace vandora {

class TTextForm {
public:
    // Raises EReadError naming the component, the property and the byte offset where the
    // binary form is malformed.
    static std::string FromBinary(std::string_view binary);
};

} // namespace vandora
