// Member declaration lines: variables, constants, properties, functions and
// procedures of one type, in Object Pascal form.
#pragma once

#include "common/text.h"
#include "typelib/access.h"

namespace brannock::typelib {

struct ParamFlagsText {
  Text words;        // "const var lcid retval optional " as far as set
  Text defaultText;  // " = 0", " = 'abc'" or empty
};

// A parameter's modifier words and its default value text. A default that
// does not convert to text is left out.
ParamFlagsText ParamFlagsToStr(const ParamDesc& desc);

// What follows a function's name: the parameter list (only when names are
// returned and there are parameters), ": " and the result type unless it is
// VT_VOID, ";", and " dispid N;" for dispatch functions.
Text FuncDescToStr(const FuncDesc& desc, TypeInfo& owner);
// The same with the names given instead of those `owner` has for the
// function's member ID (element 0 the function's, then one per parameter).
Text FuncDescToStr(const FuncDesc& desc, const TextList& names, TypeInfo& owner);

// "name: Type;" for a variable, "name = value;" for a constant ("<?>" for a
// null value or one that does not convert to text); empty when the
// variable's documentation cannot be read.
Text VarDescToStr(const VarDesc& desc, TypeInfo& owner);

// Where rendered lines go, one at a time: a list of lines, or the text of a
// whole unit assembled in one buffer. A line handed over is valid only
// during the call.
class LineSink {
 public:
  virtual ~LineSink() = default;
  virtual void Add(TextView line) = 0;
};

// The sink that appends each line to a list.
class LineListSink : public LineSink {
 public:
  explicit LineListSink(TextList* lines) : lines_(lines) {}
  void Add(TextView line) override { lines_->emplace_back(line); }

 private:
  TextList* lines_;
};

// Appends the member lines of a type, unindented: all variables, then (for
// interfaces, dispinterfaces and coclasses) all functions, each preceded by a
// "// doc" comment line when it has a doc string. A function whose names
// cannot be read is left out. A member whose description cannot be obtained
// gives one line with the error text of the failure code.
void GetMemberLines(TypeInfo& info, const TypeAttr& attr, TextList* lines);
void GetMemberLines(TypeInfo& info, const TypeAttr& attr, LineSink& lines);

}  // namespace brannock::typelib
