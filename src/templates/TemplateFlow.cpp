#include "templates/TemplateFlow.h"

#include "rulestore/RuleStore.h"

namespace velkor {

namespace {

// The words a template gets, or false when it is not to be created (the
// user went back, cancelled, or a source is empty and was reported).
enum class Words { Ready, Back, Stop };

Words GatherWords(TemplatePlatform& platform, RuleTemplateId id, const TemplateSources& sources,
                  std::vector<std::string>* words) {
  const RuleTemplate& tmpl = TemplateAt(id);
  switch (tmpl.words) {
    case TemplateWords::PersonalInfo:
    case TemplateWords::OwnNames: {
      InputEnd end = tmpl.words == TemplateWords::PersonalInfo
                         ? platform.AskPersonalInfo(sources.ownAddresses, words)
                         : platform.AskOwnNames(sources.ownAddresses, sources.displayNames, words);
      if (end == InputEnd::Back) return Words::Back;
      // An empty list on OK creates nothing, silently.
      return end == InputEnd::Ok && !words->empty() ? Words::Ready : Words::Stop;
    }
    case TemplateWords::TrustedAddresses:
      *words = TrustedAddressList(platform.AddressBookAddresses(), sources.ownAddresses);
      if (words->empty()) {
        platform.Tell(templatetext::kNoValidAddress, sources.appTitle, true);
        return Words::Stop;
      }
      return Words::Ready;
    case TemplateWords::OwnAddresses:
      *words = OwnAddressWords(sources.ownAddresses);
      if (words->empty()) {
        platform.Tell(templatetext::kNoOwnAddress, sources.appTitle, true);
        return Words::Stop;
      }
      return Words::Ready;
    default:
      *words = FixedTemplateWords(id, sources.stamp);
      return Words::Ready;
  }
}

}  // namespace

TemplateOutcome CreateRuleFromTemplate(TemplatePlatform& platform, RuleSet& rules, const TemplateSources& sources) {
  TemplateOutcome outcome;
  RuleTemplateId preselect = -1;
  for (;;) {
    RuleTemplateId id = -1;
    if (!platform.ChooseTemplate(preselect, &id)) return outcome;
    int insertAt = platform.FirstSelectedRuleRow();
    std::vector<std::string> rowNames = platform.RuleRowNames();
    if (insertAt < 0 || insertAt > static_cast<int>(rowNames.size())) insertAt = static_cast<int>(rowNames.size());
    if (!IsTemplateId(id)) return outcome;
    const RuleTemplate& tmpl = TemplateAt(id);

    if (tmpl.existsCaption) {
      int existing = FindRuleNamed(rowNames, tmpl.ruleName);
      if (existing >= 0) {
        platform.SelectRuleRow(existing);
        platform.Tell(TemplateExistsMessage(tmpl.ruleName), tmpl.existsCaption,
                      false);
        return outcome;
      }
    }

    std::vector<std::string> words;
    Words got = GatherWords(platform, id, sources, &words);
    if (got == Words::Back) {
      preselect = id;
      continue;
    }
    if (got == Words::Stop) return outcome;

    MailRule& rule = BuildTemplateRule(rules, id, words, sources.stamp);
    int row = tmpl.atEnd ? static_cast<int>(rowNames.size()) : insertAt;
    MoveRuleTo(rules, rule.Number(), row);
    platform.InsertRuleRow(row, rule, tmpl.enabled);
    platform.Tell(TemplateSuccessMessage(id, rule.Name()), templatetext::kDialogTitle, false);
    outcome.id = id;
    outcome.ruleNumber = rule.Number();
    outcome.row = row;
    return outcome;
  }
}

}  // namespace velkor
