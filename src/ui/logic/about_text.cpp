#include "ui/logic/about_text.h"

namespace brannock::ui {

Text FileVersionText(const platform::TVersionInfo& info) {
  Text text = IntToText(info.Major) + u"." + IntToText(info.Minor) + u"." + IntToText(info.Release) + u"." +
              IntToText(info.Build);
  if (!info.PreRelease) return text;
  text += u" BETA";
  if (info.Build != 0) text += u" " + IntToText(info.Build);
  return text;
}

Text VersionLineText(const platform::TVersionInfo& info) { return u"Version " + FileVersionText(info); }

Text DescriptionText(const platform::TVersionInfo& info) {
  return info.Comments.empty() ? info.FileDescription : info.Comments;
}

Text LinkDisplayText(TextView address) {
  const size_t colon = address.find(u':');
  if (colon == TextView::npos || colon == 0) return Text(address);
  for (size_t i = 0; i < colon; ++i) {
    const char16_t c = address[i];
    const bool schemeChar = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                            (i > 0 && ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.'));
    if (!schemeChar) return Text(address);
  }
  TextView rest = address.substr(colon + 1);
  if (rest.starts_with(u"//")) rest.remove_prefix(2);
  return Text(rest);
}

Text TermsOfUseText() {
  return u"Brannock is free software: you may use it, copy it and give it to others, "
         u"at home and at work, without fee.\n\n"
         u"It reads the COM registrations and type libraries of your machine and never "
         u"changes them, except when you ask it to register or unregister a server.\n\n"
         u"The program is provided \"as is\", without warranty of any kind, express or "
         u"implied. In no event shall its authors be liable for any damage arising from "
         u"its use or from the inability to use it. You use it at your own risk.";
}

}  // namespace brannock::ui
