#include "platform/web/HtmlDefaultStyle.h"

namespace platform {

const char* const kDefaultStyleSheet = R"CSS(
html, address, blockquote, body, dd, div, dl, dt, fieldset, form, frame, frameset, h1, h2, h3,
h4, h5, h6, noframes, ol, p, ul, center, dir, hr, menu, pre, article, aside, footer, header,
hgroup, main, nav, section, figure, figcaption, details, summary, legend { display: block; }
head, script, style, title, meta, link, base, template, noscript, iframe, object, select,
datalist, [hidden] { display: none; }
html { color: black; }
body { margin: 8px; line-height: 1.4; }
p, dl, multicol, blockquote, figure { margin: 1em 0; }
blockquote, figure { margin-left: 40px; margin-right: 40px; }
h1 { font-size: 2em; margin: .67em 0; font-weight: bold; }
h2 { font-size: 1.5em; margin: .83em 0; font-weight: bold; }
h3 { font-size: 1.17em; margin: 1em 0; font-weight: bold; }
h4 { margin: 1.33em 0; font-weight: bold; }
h5 { font-size: .83em; margin: 1.67em 0; font-weight: bold; }
h6 { font-size: .67em; margin: 2.33em 0; font-weight: bold; }
h1, h2, h3, h4, h5, h6 { line-height: 1.2; }
b, strong, th { font-weight: bold; }
i, em, cite, var, address, dfn { font-style: italic; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
small { font-size: .83em; }
big { font-size: 1.17em; }
sub { vertical-align: sub; font-size: .83em; }
sup { vertical-align: super; font-size: .83em; }
center { text-align: center; }
pre, tt, code, kbd, samp { font-family: monospace; }
pre { white-space: pre; margin: 1em 0; }
a:link, a[href] { color: #0b5bd3; text-decoration: underline; }
ul, ol, menu, dir { margin: 1em 0; padding-left: 40px; }
ol { list-style-type: decimal; }
ul, menu, dir { list-style-type: disc; }
ul ul, ol ul { list-style-type: circle; margin-top: 0; margin-bottom: 0; }
ol ol, ul ol { margin-top: 0; margin-bottom: 0; }
li { display: list-item; }
dd { margin-left: 40px; }
hr { border: 1px inset #c0c0c0; margin: .5em auto; }
table { display: table; border-collapse: separate; border-spacing: 2px; }
thead { display: table-header-group; vertical-align: middle; }
tbody { display: table-row-group; vertical-align: middle; }
tfoot { display: table-footer-group; vertical-align: middle; }
col { display: table-column; }
colgroup { display: table-column-group; }
tr { display: table-row; vertical-align: inherit; }
thead, tbody, tfoot, tr { border-color: inherit; }
td, th { display: table-cell; vertical-align: inherit; padding: 1px; }
th { text-align: center; }
caption { display: table-caption; text-align: center; }
img { display: inline-block; }
br { display: block; }
button, campus-field, textarea {
    display: inline-block; padding: 3px 10px; border: 1px solid #a9a9a9;
    border-radius: 4px; background-color: #efefef; font-size: 15px; line-height: 1.3;
    margin: 2px 0; white-space: nowrap;
}
/* A field's box is the page's or a browser's default, whatever it holds: its own view draws
   its text within it (WebFormViews), and HtmlFieldElement reads size, cols and rows. */
campus-field, textarea { background-color: white; width: 10em; padding: 3px 4px; }
campus-field[type=button], campus-field[type=submit], campus-field[type=reset] {
    background-color: #efefef; width: auto; padding: 3px 10px;
}
textarea { white-space: pre-wrap; min-height: 3em; }
campus-glue, campus-word { display: inline-block; text-indent: 0; }
campus-field[type=textarea] { white-space: pre-wrap; width: 13em; height: 2.6em; vertical-align: top; }
campus-field[type=select] { background-color: #f7f7f7; width: auto; padding: 3px 8px; }
campus-field[type=checkbox], campus-field[type=radio] {
    width: 16px; height: 16px; padding: 0; margin: 2px 5px 2px 2px;
    line-height: 16px; font-size: 12px; text-align: center; vertical-align: middle;
    color: white; background-color: white;
}
campus-field[type=radio] { border-radius: 9px; }
campus-field[checked] { background-color: #0b5bd3; border-color: #0b5bd3; }
campus-field[disabled], button[disabled] {
    color: #a9a9a9; background-color: #f2f2f2; border-color: #d3d3d3;
}
campus-field[checked][disabled] { color: white; background-color: #b8b8b8; border-color: #b8b8b8; }
campus-flat { display: inline !important; float: none !important; position: static !important; }
)CSS";

}  // namespace platform
