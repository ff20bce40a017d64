#include "mail/HtmlToText.h"

#include <gtest/gtest.h>

#include <string>

namespace velkor {
namespace {

struct Case {
  const char* name;
  std::string html;
  std::string text;
};

TEST(HtmlToTextTest, Conversions) {
  const Case cases[] = {
      {"plain text unchanged", "a<br>b  c &amp; d\r\n", "a<br>b  c &amp; d\r\n"},
      {"one member of a pair is not enough", "<html><body>x", "<html><body>x"},
      {"head and title dropped",
       "<html><head><title>t</title><style>p{}</style></head><body bgcolor=white>本文<br>二行目</body>after</html>",
       "本文\r\n二行目"},
      {"capital tags", "<HTML><BODY>A<BR>B</P>C</BODY></HTML>", "A\r\nB\r\nC"},
      {"only exact br and /p break", "<body>a<br/>b<br class=x>c<p>d</div>e</body>", "abcde"},
      {"every div start breaks", "<body>a<div class=\"x\">b<DIV>c</body>", "a\r\nb\r\nc"},
      {"anchor kept, closing dropped", "<body><a href=\"http://spam.example/x\">here</a></body>",
       "<a href=\"http://spam.example/x\">here"},
      {"source line breaks and tabs removed", "<body>a\r\n\tb\nc</body>", "abc"},
      {"blank runs collapse", "<body>a    b  <b> </b> c</body>", "a b c"},
      {"nbsp not collapsed", "<body>a&nbsp;&nbsp;b</body>", "a  b"},
      {"entities once, in order", "<body>&amp;lt; &lt;&gt; &quot;q&quot; &copy; &AMP; &#39;</body>",
       "&lt; <> \"q\" (C) &AMP; &#39;"},
      {"no body tag keeps all", "<html><p>x</p></html>", "x\r\n"},
      {"missing body end", "<title>t</title><body>tail<br>", "tail\r\n"},
      {"unclosed tag ends the loop", "<body>a<b>c<d </body>", "ac<d "},
      // 表 (0x95 0x5C) and ＞ hold no tag delimiters; a second byte equal to
      // ">" or "<" (0x3E/0x3C are never second bytes, but 0x5C and letters are)
      // must not break words apart.
      {"double-byte text kept", "<body>表示＞＜ソフト<br>能力</body>", "表示＞＜ソフト\r\n能力"},
  };
  for (const Case& c : cases) {
    std::string text = c.html;
    HtmlToText(text);
    EXPECT_EQ(text, c.text) << c.name;
  }
}

}  // namespace
}  // namespace velkor
