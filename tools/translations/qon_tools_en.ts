<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>BesideSetCopier</name>
    <message>
        <source>次のファイルは、%1を保存するフォルダ
%2
にありません。</source>
        <translation>The following files are not in
%2
the folder where the %1 is saved. </translation>
    </message>
    <message>
        <source>%1にはファイル名だけが書かれるため、このままではゲームがこれらのファイルを見つけられません。

</source>
        <translation>The %1 records file names only, so the game will not find these files as they are.

</translation>
    </message>
    <message>
        <source>（ほか %1 個）
</source>
        <translation>(and %1 more)
</translation>
    </message>
    <message>
        <source>
%1と同じフォルダにコピーしますか？
「いいえ」を選ぶと、コピーせずにそのまま保存します。</source>
        <translation>
Copy them into the folder of the %1?
Choose &quot;No&quot; to save without copying them.</translation>
    </message>
    <message>
        <source>ファイルをコピーできないため、%1を保存しませんでした。

</source>
        <translation>A file could not be copied, so the %1 was not saved.

</translation>
    </message>
    <message>
        <source>%1
には、同じ名前の別のファイルがすでにあります。

%2
で上書きしますか？
「いいえ」を選ぶと、今あるファイルをそのまま使います。</source>
        <translation>A different file of the same name already exists at
%1

Replace it with
%2
?
Choose &quot;No&quot; to keep using the existing file.</translation>
    </message>
</context>
<context>
    <name>BitmapSlot</name>
    <message>
        <source>ブロック1</source>
        <translation>Block 1</translation>
    </message>
    <message>
        <source>ブロック2</source>
        <translation>Block 2</translation>
    </message>
    <message>
        <source>ブロック3</source>
        <translation>Block 3</translation>
    </message>
    <message>
        <source>ブロック4</source>
        <translation>Block 4</translation>
    </message>
    <message>
        <source>ブロック5</source>
        <translation>Block 5</translation>
    </message>
    <message>
        <source>ブロック6</source>
        <translation>Block 6</translation>
    </message>
    <message>
        <source>ブロック7</source>
        <translation>Block 7</translation>
    </message>
    <message>
        <source>ブロック8</source>
        <translation>Block 8</translation>
    </message>
    <message>
        <source>壊れないブロック</source>
        <translation>Unbreakable block</translation>
    </message>
    <message>
        <source>ピン</source>
        <translation>Pin</translation>
    </message>
    <message>
        <source>ミニボール（アイテム）</source>
        <translation>Mini balls (item)</translation>
    </message>
    <message>
        <source>磁石</source>
        <translation>Magnet</translation>
    </message>
    <message>
        <source>風（←）</source>
        <translation>Wind (←)</translation>
    </message>
    <message>
        <source>風（→）</source>
        <translation>Wind (→)</translation>
    </message>
    <message>
        <source>風（↓）</source>
        <translation>Wind (↓)</translation>
    </message>
    <message>
        <source>風（↑）</source>
        <translation>Wind (↑)</translation>
    </message>
    <message>
        <source>ワープ</source>
        <translation>Warp</translation>
    </message>
    <message>
        <source>バー伸びる</source>
        <translation>Longer bar</translation>
    </message>
    <message>
        <source>ファイアボール</source>
        <translation>Fireball</translation>
    </message>
    <message>
        <source>ボム</source>
        <translation>Bomb</translation>
    </message>
    <message>
        <source>メインボール</source>
        <translation>Main ball</translation>
    </message>
    <message>
        <source>ミニボール（ボール）</source>
        <translation>Mini ball (ball)</translation>
    </message>
    <message>
        <source>バー</source>
        <translation>Bar</translation>
    </message>
</context>
<context>
    <name>BlockImages</name>
    <message>
        <source>画像ファイルがありません。</source>
        <translation>The picture file does not exist.</translation>
    </message>
    <message>
        <source>画像ファイルではなくフォルダです。</source>
        <translation>This is a folder, not a picture file.</translation>
    </message>
    <message>
        <source>画像として読めません（対応していない形式です）。</source>
        <translation>Cannot be read as a picture (the format is not supported).</translation>
    </message>
    <message>
        <source>名前付きパイプです。画像ファイルではありません。</source>
        <translation>This is a named pipe, not a picture file.</translation>
    </message>
    <message>
        <source>デバイスです。画像ファイルではありません。</source>
        <translation>This is a device, not a picture file.</translation>
    </message>
    <message>
        <source>画像ファイルを読み込めません。</source>
        <translation>The picture file cannot be read.</translation>
    </message>
</context>
<context>
    <name>BlockTip</name>
    <message>
        <source>ブロック（%1 回当てると壊れる）</source>
        <translation>Block (breaks after %1 hits)</translation>
    </message>
    <message>
        <source>壊れないブロック（ボールをはね返すだけ）</source>
        <translation>Unbreakable block (only bounces the ball back)</translation>
    </message>
    <message>
        <source>ピン：中心に当たったボールをランダムな向きに飛ばす</source>
        <translation>Pin: sends a ball that hits its centre off in a random direction</translation>
    </message>
    <message>
        <source>ミニボール：当たるとミニボールが 5 個出る</source>
        <translation>Mini balls: releases 5 mini balls when hit</translation>
    </message>
    <message>
        <source>風（←）：通るボールを左へ流す</source>
        <translation>Wind (←): blows passing balls to the left</translation>
    </message>
    <message>
        <source>風（→）：通るボールを右へ流す</source>
        <translation>Wind (→): blows passing balls to the right</translation>
    </message>
    <message>
        <source>風（↓）：通るボールを下へ流す</source>
        <translation>Wind (↓): blows passing balls down</translation>
    </message>
    <message>
        <source>風（↑）：通るボールを上へ流す</source>
        <translation>Wind (↑): blows passing balls up</translation>
    </message>
    <message>
        <source>磁石：ボールがバーにくっつくようになる</source>
        <translation>Magnet: the ball sticks to the bar</translation>
    </message>
    <message>
        <source>ワープ：ボールを画面のどこかへ移す</source>
        <translation>Warp: moves the ball somewhere on the screen</translation>
    </message>
    <message>
        <source>バー伸びる：バーが 1.5 倍の幅になる</source>
        <translation>Longer bar: the bar becomes 1.5 times as wide</translation>
    </message>
    <message>
        <source>ファイアボール：ボールがブロックを貫いて壊す</source>
        <translation>Fireball: the ball breaks through blocks</translation>
    </message>
    <message>
        <source>ボム：周りの 8 マスごと壊す</source>
        <translation>Bomb: breaks the 8 cells around it too</translation>
    </message>
</context>
<context>
    <name>EditorSurface</name>
    <message>
        <source>「ファイル」メニューの「新規作成」か「開く」で
ステージプロジェクトを始めてください。</source>
        <translation>Start a stage project with &quot;New&quot; or &quot;Open&quot;
in the &quot;File&quot; menu.</translation>
    </message>
</context>
<context>
    <name>GraphicSetCommands</name>
    <message>
        <source>サイズが違います。</source>
        <translation>The size is wrong.</translation>
    </message>
    <message>
        <source>改行</source>
        <translation>a line break</translation>
    </message>
    <message>
        <source>Shift-JIS で書けない文字「%1」</source>
        <translation>a character that Shift-JIS cannot hold, &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Shift-JIS で書けない文字</source>
        <translation>a character that Shift-JIS cannot hold</translation>
    </message>
    <message>
        <source>QONグラフィックプロジェクト/*.bgp (*.bgp)</source>
        <translation>QON graphic project/*.bgp (*.bgp)</translation>
    </message>
    <message>
        <source>ブロック%1/*.bmp (*.bmp)</source>
        <translation>Block %1/*.bmp (*.bmp)</translation>
    </message>
    <message>
        <source>特殊ブロック/*.bmp (*.bmp)</source>
        <translation>Special block/*.bmp (*.bmp)</translation>
    </message>
    <message>
        <source>パーツ/*.bmp (*.bmp)</source>
        <translation>Parts/*.bmp (*.bmp)</translation>
    </message>
    <message>
        <source>グラフィックセット</source>
        <translation>graphic set</translation>
    </message>
    <message>
        <source>画像を開く - %1</source>
        <translation>Open Picture - %1</translation>
    </message>
    <message>
        <source>「%1」の画像を読み込めません。
%2
%3</source>
        <translation>The picture for &quot;%1&quot; cannot be read.
%2
%3</translation>
    </message>
    <message>
        <source>グラフィックセットへの変更が保存されていません。保存しますか？</source>
        <translation>The changes to the graphic set have not been saved. Save them?</translation>
    </message>
    <message>
        <source>グラフィックセットを開く</source>
        <translation>Open Graphic Set</translation>
    </message>
    <message>
        <source>グラフィックセット %1 が見つかりません。</source>
        <translation>The graphic set %1 cannot be found.</translation>
    </message>
    <message>
        <source>
最近使ったファイルの一覧から外します。</source>
        <translation>
It is taken off the list of recent files.</translation>
    </message>
    <message>
        <source>グラフィックセットを開けません。
%1</source>
        <translation>The graphic set cannot be opened.
%1</translation>
    </message>
    <message>
        <source>ファイル名が空です。</source>
        <translation>The file name is empty.</translation>
    </message>
    <message>
        <source>グラフィックセット %1 を開く途中で止まりました。
%2 行目（%3）の画像 %4 を読み込めません：%5
これより後の画像は前の内容のままです。</source>
        <translation>Opening the graphic set %1 stopped part way.
The picture %4 on line %2 (%3) cannot be read: %5
The pictures after it keep what they showed before.</translation>
    </message>
    <message>
        <source>「%1」の画像が選ばれていません。
すべての画像を選んでから保存してください。</source>
        <translation>No picture has been chosen for &quot;%1&quot;.
Choose every picture before saving.</translation>
    </message>
    <message>
        <source>グラフィックセット名</source>
        <translation>The graphic set name</translation>
    </message>
    <message>
        <source>製作者</source>
        <translation>The author</translation>
    </message>
    <message>
        <source>%1に%2が含まれているため保存できません。</source>
        <translation>%1 contains %2, so the set cannot be saved.</translation>
    </message>
    <message>
        <source>「%1」の画像のファイル名 %2 に%3が含まれているため保存できません。
ファイル名を変えてから選び直してください。</source>
        <translation>The file name %2 of the picture for &quot;%1&quot; contains %3, so the set cannot be saved.
Rename the file and choose it again.</translation>
    </message>
    <message>
        <source>保存できませんでした。
%1</source>
        <translation>Could not save.
%1</translation>
    </message>
    <message>
        <source>グラフィックセットを名前を付けて保存</source>
        <translation>Save Graphic Set As</translation>
    </message>
</context>
<context>
    <name>ImageLoader</name>
    <message>
        <source>ファイルがありません。</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>フォルダです。画像ファイルではありません。</source>
        <translation>This is a folder, not a picture file.</translation>
    </message>
    <message>
        <source>画像として読み込めません（対応していない形式です）。</source>
        <translation>Cannot be read as a picture (the format is not supported).</translation>
    </message>
    <message>
        <source>画像として読み込めません（データが壊れています）。</source>
        <translation>Cannot be read as a picture (the data is damaged).</translation>
    </message>
    <message>
        <source>画像として読み込めません。</source>
        <translation>Cannot be read as a picture.</translation>
    </message>
</context>
<context>
    <name>MusicSetCommands</name>
    <message>
        <source>「%1」に改行が含まれています。</source>
        <translation>&quot;%1&quot; contains a line break.</translation>
    </message>
    <message>
        <source>「%1」に Shift-JIS で保存できない文字が含まれています: %2</source>
        <translation>&quot;%1&quot; contains characters that cannot be saved in Shift-JIS: %2</translation>
    </message>
    <message>
        <source>ミュージックセット</source>
        <translation>music set</translation>
    </message>
    <message>
        <source>MIDIファイル(*.mid)</source>
        <translation>MIDI files (*.mid)</translation>
    </message>
    <message>
        <source>ミュージックセット(*.msp)</source>
        <translation>Music sets (*.msp)</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>この曲は選べません。
</source>
        <translation>This piece cannot be chosen.
</translation>
    </message>
    <message>
        <source>タイトル表示時の曲</source>
        <translation>Title music</translation>
    </message>
    <message>
        <source>スタッフロール時の曲</source>
        <translation>Staff roll music</translation>
    </message>
    <message>
        <source>ゲーム中の曲</source>
        <translation>In-game music</translation>
    </message>
    <message>
        <source>ミュージックセットは変更されています。保存しますか？</source>
        <translation>The music set has been changed. Save it?</translation>
    </message>
    <message>
        <source>ミュージックセットを開く</source>
        <translation>Open Music Set</translation>
    </message>
    <message>
        <source>ミュージックセット %1 が見つかりません。</source>
        <translation>The music set %1 cannot be found.</translation>
    </message>
    <message>
        <source>
最近使ったファイルの一覧から外します。</source>
        <translation>
It is taken off the list of recent files.</translation>
    </message>
    <message>
        <source>ミュージックセットを開けませんでした。

</source>
        <translation>The music set could not be opened.

</translation>
    </message>
    <message>
        <source>ミュージックセット名</source>
        <translation>Music set name</translation>
    </message>
    <message>
        <source>製作者</source>
        <translation>The author</translation>
    </message>
    <message>
        <source>ゲーム中の曲 %1 曲目</source>
        <translation>In-game music, piece %1</translation>
    </message>
    <message>
        <source>保存できません。
</source>
        <translation>Cannot save.
</translation>
    </message>
    <message>
        <source>ミュージックセットを保存できませんでした。

</source>
        <translation>The music set could not be saved.

</translation>
    </message>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
</context>
<context>
    <name>MusicSetWindow</name>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;S)</source>
        <translation>Save &amp;As</translation>
    </message>
    <message>
        <source>上書き保存(&amp;V)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>終了(&amp;E)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>リストから削除</source>
        <translation>Remove from List</translation>
    </message>
    <message>
        <source>上へ</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>下へ</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>選んだ曲を 1 つ前に流します</source>
        <translation>Plays the chosen piece one place earlier</translation>
    </message>
    <message>
        <source>選んだ曲を 1 つ後に流します</source>
        <translation>Plays the chosen piece one place later</translation>
    </message>
    <message>
        <source>タイトル表示時の曲</source>
        <translation>Title music</translation>
    </message>
    <message>
        <source>スタッフロール時の曲</source>
        <translation>Staff roll music</translation>
    </message>
    <message>
        <source>ゲーム中の曲</source>
        <translation>In-game music</translation>
    </message>
    <message>
        <source>ミュージックセット名：</source>
        <translation>Music set name:</translation>
    </message>
    <message>
        <source>製作者：</source>
        <translation>Author:</translation>
    </message>
    <message>
        <source>新しいミュージックセット</source>
        <translation>New music set</translation>
    </message>
</context>
<context>
    <name>QtPrompter</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>保存しない</source>
        <translation>Don&apos;t Save</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>今後このメッセージを表示しない</source>
        <translation>Don&apos;t show this message again</translation>
    </message>
    <message>
        <source>はい</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>RecentFilesMenu</name>
    <message>
        <source>（なし）</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>一覧を消去(&amp;C)</source>
        <translation>&amp;Clear List</translation>
    </message>
    <message>
        <source>最近使ったファイル(&amp;R)</source>
        <translation>&amp;Recent Files</translation>
    </message>
</context>
<context>
    <name>SelectionListsCommands</name>
    <message>
        <source>ステージプロジェクト (*.stp)</source>
        <translation>Stage projects (*.stp)</translation>
    </message>
    <message>
        <source>グラフィックプロジェクト (*.bgp)</source>
        <translation>Graphic projects (*.bgp)</translation>
    </message>
    <message>
        <source>ミュージックセット（*.msp） (*.msp)</source>
        <translation>Music sets (*.msp) (*.msp)</translation>
    </message>
    <message>
        <source>ステージの追加</source>
        <translation>Add Stage</translation>
    </message>
    <message>
        <source>グラフィックセットの追加</source>
        <translation>Add Graphic Set</translation>
    </message>
    <message>
        <source>ミュージックセットの追加</source>
        <translation>Add Music Set</translation>
    </message>
    <message>
        <source>ファイルが見つかりません。

</source>
        <translation>The file cannot be found.

</translation>
    </message>
    <message>
        <source>この一覧はファイルを読み込めなかったため変更できません。
</source>
        <translation>This list cannot be changed because its file could not be read.
</translation>
    </message>
    <message>
        <source>一覧がいっぱいです。登録できるのは %1 件までです。</source>
        <translation>The list is full. It holds at most %1 entries.</translation>
    </message>
    <message>
        <source>このパスには一覧ファイルに書けない文字（Shift-JIS にない文字や改行）が含まれているため、登録できません。
</source>
        <translation>This path contains characters a list file cannot hold (characters missing from Shift-JIS, or line breaks), so it cannot be added.
</translation>
    </message>
    <message>
        <source>次の一覧を保存できませんでした。
</source>
        <translation>The following lists could not be saved.
</translation>
    </message>
    <message>
        <source>

もう一度保存しますか？
保存せずに終了すると、その一覧への変更は失われます。</source>
        <translation>

Try saving again?
If you quit without saving, the changes to those lists are lost.</translation>
    </message>
</context>
<context>
    <name>SelectionListsDocument</name>
    <message>
        <source>ファイルが空です。1 行目の件数がありません。</source>
        <translation>The file is empty. The count on line 1 is missing.</translation>
    </message>
    <message>
        <source>件数「%1」が数ではありません。</source>
        <translation>The count &quot;%1&quot; is not a number.</translation>
    </message>
    <message>
        <source>ファイルが途中で終わっています。件数は %1 ですが、%2 件しかありません。</source>
        <translation>The file ends early. The count is %1, but there are only %2 entries.</translation>
    </message>
    <message>
        <source>ステージプロジェクト</source>
        <translation>stage project</translation>
    </message>
    <message>
        <source>グラフィックセット</source>
        <translation>graphic set</translation>
    </message>
    <message>
        <source>ミュージックセット</source>
        <translation>music set</translation>
    </message>
    <message>
        <source>%1 行目</source>
        <translation>Line %1</translation>
    </message>
    <message>
        <source>中身が空です。</source>
        <translation>It is empty.</translation>
    </message>
    <message>
        <source>2 行目のステージ数がありません。</source>
        <translation>The stage count on line 2 is missing.</translation>
    </message>
    <message>
        <source>%1「%2」がステージ数ではありません。</source>
        <translation>%1, &quot;%2&quot;, is not a stage count.</translation>
    </message>
    <message>
        <source>3 行目の製作者名がありません。</source>
        <translation>The author&apos;s name on line 3 is missing.</translation>
    </message>
    <message>
        <source>25 行のはずが %1 行しかありません。</source>
        <translation>There should be 25 lines, but there are only %1.</translation>
    </message>
    <message>
        <source>%1のビットマップ名が空です。</source>
        <translation>%1: the bitmap name is empty.</translation>
    </message>
    <message>
        <source>%1「%2」がビットマップ名ではありません。</source>
        <translation>%1, &quot;%2&quot;, is not a bitmap name.</translation>
    </message>
    <message>
        <source>5 行目の曲数がありません。</source>
        <translation>The number of pieces on line 5 is missing.</translation>
    </message>
    <message>
        <source>%1「%2」が曲数ではありません。</source>
        <translation>%1, &quot;%2&quot;, is not a number of pieces.</translation>
    </message>
    <message>
        <source>曲数は %1 ですが、曲名が %2 行しかありません。</source>
        <translation>The number of pieces is %1, but there are only %2 lines of pieces.</translation>
    </message>
    <message>
        <source>Shift-JIS のテキストとして読めません（%1 行目）。%2のファイルではないようです。</source>
        <translation>Cannot be read as Shift-JIS text (line %1). It does not seem to be a %2 file.</translation>
    </message>
    <message>
        <source>%1のファイルのようです。</source>
        <translation> It seems to be a %1 file.</translation>
    </message>
    <message>
        <source>拡張子が %1 ではありません。</source>
        <translation>The extension is not %1.</translation>
    </message>
    <message>
        <source>%1の形になっていません：%2</source>
        <translation>It is not laid out as a %1: %2</translation>
    </message>
    <message>
        <source>ファイルが見つかりません。</source>
        <translation>The file cannot be found.</translation>
    </message>
    <message>
        <source>ここで開いている間に別のプログラムがこのファイルを書きました。書き換えずにそのままにしてあります。</source>
        <translation>Another program wrote this file while it was open here. It has been left as it is, not overwritten.</translation>
    </message>
</context>
<context>
    <name>SelectionListsWindow</name>
    <message>
        <source>（名前なし）</source>
        <translation>(no name)</translation>
    </message>
    <message>
        <source>見つかりません</source>
        <translation>Not found</translation>
    </message>
    <message>
        <source>種類が違います</source>
        <translation>Wrong kind</translation>
    </message>
    <message>
        <source>読み込めません</source>
        <translation>Unreadable</translation>
    </message>
    <message>
        <source>リストの場所: %1</source>
        <translation>Lists kept in: %1</translation>
    </message>
    <message>
        <source>登録されているステージ</source>
        <translation>Listed stages</translation>
    </message>
    <message>
        <source>ステージ追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>ステージ削除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>登録されているグラフィックセット</source>
        <translation>Listed graphic sets</translation>
    </message>
    <message>
        <source>グラフィック追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>グラフィック削除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>登録されているミュージックセット</source>
        <translation>Listed music sets</translation>
    </message>
    <message>
        <source>ミュージック追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>ミュージック削除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>&#x3000;</source>
        <translation> - </translation>
    </message>
    <message>
        <source>
1 行目：%1</source>
        <translation>
Line 1: %1</translation>
    </message>
    <message>
        <source>%1 を読み込めなかったため、この一覧は変更も保存もしません。</source>
        <translation>%1 could not be read, so this list is neither changed nor saved.</translation>
    </message>
</context>
<context>
    <name>SlotPreview</name>
    <message>
        <source>クリックするとこの画像だけを選び直します</source>
        <translation>Click to choose this picture again on its own</translation>
    </message>
</context>
<context>
    <name>StageProjectCommands</name>
    <message>
        <source>ステージプロジェクト (*.stp)</source>
        <translation>Stage projects (*.stp)</translation>
    </message>
    <message>
        <source>QONグラフィックプロジェクト/*.bgp (*.bgp)</source>
        <translation>QON graphic project/*.bgp (*.bgp)</translation>
    </message>
    <message>
        <source>～Stage%1.stg</source>
        <translation>–Stage%1.stg</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source> ほか %1 個</source>
        <translation> and %1 more</translation>
    </message>
    <message>
        <source>ほか %1 個</source>
        <translation>%1 more</translation>
    </message>
    <message>
        <source>「%1」</source>
        <translation>&quot;%1&quot;</translation>
    </message>
    <message>
        <source>保存先のフォルダには別のステージプロジェクト%1があります。
保存すると、次のファイルが置き換えられます。
</source>
        <translation>The folder you are saving to holds another stage project, %1.
Saving replaces these files:
</translation>
    </message>
    <message>
        <source>
・「%1」のステージファイル %2（%3 個）</source>
        <translation>
• the stage files of &quot;%1&quot;: %2 (%3 files)</translation>
    </message>
    <message>
        <source>
・セーブファイル qonsave.sav（遊んだ記録がすべてステージ 1 に戻ります）</source>
        <translation>
• the save file qonsave.sav (every record of play goes back to stage 1)</translation>
    </message>
    <message>
        <source>

保存しますか？</source>
        <translation>

Save anyway?</translation>
    </message>
    <message>
        <source>新規作成</source>
        <translation>New</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>ステージプロジェクトを開けませんでした。

</source>
        <translation>The stage project could not be opened.

</translation>
    </message>
    <message>
        <source>グラフィックセットを開く</source>
        <translation>Open Graphic Set</translation>
    </message>
    <message>
        <source>グラフィックセットを開けませんでした。

</source>
        <translation>The graphic set could not be opened.

</translation>
    </message>
    <message>
        <source>グラフィックセットを最後まで読み込めませんでした。読み込めた画像だけを使います。

</source>
        <translation>The graphic set could not be read to its end. Only the pictures that were read are used.

</translation>
    </message>
    <message>
        <source>ステージプロジェクトを保存できませんでした。

</source>
        <translation>The stage project could not be saved.

</translation>
    </message>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>ステージプロジェクト「%1」には保存していない変更があります。
保存しますか？</source>
        <translation>The stage project &quot;%1&quot; has unsaved changes.
Save them?</translation>
    </message>
    <message>
        <source>ヘルプファイルが見つかりません。

</source>
        <translation>The help file cannot be found.

</translation>
    </message>
    <message>
        <source>Tessel（QONCreater）
qon のステージエディタ
バージョン </source>
        <translation>Tessel (QONCreater)
The stage editor of qon
Version </translation>
    </message>
    <message>
        <source>ステージの番号が変わりました。

ゲームのセーブデータ（qonsave.sav）は続きをステージの番号で覚えています。このプロジェクトを前の版で遊んだ人のセーブデータは、番号の変わったあとでは別のステージを指すことがあります。

（Tessel で保存すると、このフォルダの qonsave.sav はすべて最初のステージに戻ります。）</source>
        <translation>The stage numbers have changed.

The game&apos;s save data (qonsave.sav) remembers where to go on by stage number. Save data of people who played an earlier version of this project may point at a different stage once the numbers have changed.

(Saving in Tessel sets every qonsave.sav in this folder back to the first stage.)</translation>
    </message>
    <message>
        <source>表示するステージの番号（1～%1）</source>
        <translation>Number of the stage to show (1 to %1)</translation>
    </message>
    <message>
        <source>このプロジェクトはまだ保存されていません。</source>
        <translation>This project has not been saved yet.</translation>
    </message>
    <message>
        <source>保存していない変更があります。</source>
        <translation>There are unsaved changes.</translation>
    </message>
    <message>
        <source>テストプレイでは、保存されたステージプロジェクトをゲームが読み込みます。
</source>
        <translation>A test play has the game read the saved stage project.
</translation>
    </message>
    <message>
        <source>
先に保存しますか？</source>
        <translation>
Save first?</translation>
    </message>
    <message>
        <source>ゲーム（qon）が見つからないため、テストプレイできません。

Tessel と同じフォルダ、ビルドしたゲームのフォルダ（build/qon/）、PATH のフォルダの順に探しました。</source>
        <translation>The game (qon) cannot be found, so there can be no test play.

Tessel&apos;s own folder, the built game&apos;s folder (build/qon/) and the folders of PATH were searched, in that order.</translation>
    </message>
    <message>
        <source>ゲームを起動できませんでした。

</source>
        <translation>The game could not be started.

</translation>
    </message>
    <message>
        <source>Tessel.html</source>
        <translation>Tessel_en.html</translation>
    </message>
</context>
<context>
    <name>StageProjectDocument</name>
    <message>
        <source>何も入力されていない項目があります。</source>
        <translation>Some fields are empty.</translation>
    </message>
    <message>
        <source>ブロック %1 回</source>
        <translation>Block, %1 hits</translation>
    </message>
    <message>
        <source>壊れないブロック</source>
        <translation>Unbreakable block</translation>
    </message>
    <message>
        <source>ピン</source>
        <translation>Pin</translation>
    </message>
    <message>
        <source>ミニボール</source>
        <translation>Mini balls</translation>
    </message>
    <message>
        <source>風（←）</source>
        <translation>Wind (←)</translation>
    </message>
    <message>
        <source>風（→）</source>
        <translation>Wind (→)</translation>
    </message>
    <message>
        <source>風（↓）</source>
        <translation>Wind (↓)</translation>
    </message>
    <message>
        <source>風（↑）</source>
        <translation>Wind (↑)</translation>
    </message>
    <message>
        <source>磁石</source>
        <translation>Magnet</translation>
    </message>
    <message>
        <source>ワープ</source>
        <translation>Warp</translation>
    </message>
    <message>
        <source>バー伸びる</source>
        <translation>Longer bar</translation>
    </message>
    <message>
        <source>ファイアボール</source>
        <translation>Fireball</translation>
    </message>
    <message>
        <source>ボム</source>
        <translation>Bomb</translation>
    </message>
    <message>
        <source>空</source>
        <translation>Empty</translation>
    </message>
    <message>
        <source>不明</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>ステージ数には 1 から 32767 までの整数を入力してください。</source>
        <translation>Enter a whole number from 1 to 32767 as the number of stages.</translation>
    </message>
    <message>
        <source>ステージセット名に、ファイルに保存できない文字（絵文字など）が含まれています。</source>
        <translation>The stage set name contains characters that cannot be saved in the file (emoji, for example).</translation>
    </message>
    <message>
        <source>製作者名に、ファイルに保存できない文字（絵文字など）が含まれています。</source>
        <translation>The author&apos;s name contains characters that cannot be saved in the file (emoji, for example).</translation>
    </message>
    <message>
        <source>QONCreater-%1-製作者：%2</source>
        <translation>QONCreater-%1-Author: %2</translation>
    </message>
</context>
<context>
    <name>TesselCommandLine</name>
    <message>
        <source>不明なオプションです: %1</source>
        <translation>Unknown option: %1</translation>
    </message>
    <message>
        <source>開けるステージプロジェクトは 1 つだけです: %1</source>
        <translation>Only one stage project can be opened: %1</translation>
    </message>
    <message>
        <source>使い方: Tessel [ステージプロジェクト.stp]

qon のステージエディタ Tessel（QONCreater）を開きます。ステージプロジェクト
のファイルを渡すと、それを開いた状態で始まります。

オプション:
  -h, --help     この説明を表示して終わります
  --version      バージョンを表示して終わります

Usage: Tessel [PROJECT.stp]  (--help, --version)
</source>
        <translation>Usage: Tessel [PROJECT.stp]

Opens Tessel (QONCreater), the stage editor of qon. Given a stage project
file, it starts with that project open.

Options:
  -h, --help     show this help and exit
  --version      show the version and exit
</translation>
    </message>
</context>
<context>
    <name>ToolCommandLine</name>
    <message>
        <source>使い方: %1 [オプション]</source>
        <translation>Usage: %1 [OPTION]</translation>
    </message>
    <message>
        <source>
オプション:
  -h, --help     この説明を表示して終了します
  --version      バージョンを表示して終了します
</source>
        <translation>
Options:
  -h, --help     show this help and exit
  --version      show the version and exit
</translation>
    </message>
    <message>
        <source>%1: %2
詳しくは「%1 --help」を見てください。
</source>
        <translation>%1: %2
Try &apos;%1 --help&apos; for more information.
</translation>
    </message>
    <message>
        <source>知らないオプションです: %1</source>
        <translation>unknown option: %1</translation>
    </message>
    <message>
        <source>ファイルは指定できません: %1</source>
        <translation>no file can be given: %1</translation>
    </message>
    <message>
        <source>開けるファイルは 1 つだけです: %1</source>
        <translation>only one file can be opened: %1</translation>
    </message>
    <message>
        <source>qon のグラフィックセット作成ツールです。ブロック、特殊ブロック、ボールとバーのビットマップを選んで、グラフィックセット（.bgp）を作ります。</source>
        <translation>The graphic set creator of qon. Choose the bitmaps of the blocks, the special blocks, the balls and the bar to make a graphic set (.bgp).</translation>
    </message>
    <message>
        <source>グラフィックセット.bgp</source>
        <translation>GRAPHIC-SET.bgp</translation>
    </message>
    <message>
        <source>ファイルを指定すると、起動したときにそのグラフィックセットを開きます。</source>
        <translation>Given a file, it opens that graphic set at start.</translation>
    </message>
    <message>
        <source>qon のミュージックセット作成ツールです。タイトル、ゲーム中とスタッフロールのMIDI ファイルを選んで、ミュージックセット（.msp）を作ります。</source>
        <translation>The music set creator of qon. Choose the MIDI files for the title, the game and the staff roll to make a music set (.msp).</translation>
    </message>
    <message>
        <source>ミュージックセット.msp</source>
        <translation>MUSIC-SET.msp</translation>
    </message>
    <message>
        <source>ファイルを指定すると、起動したときにそのミュージックセットを開きます。</source>
        <translation>Given a file, it opens that music set at start.</translation>
    </message>
    <message>
        <source>qon のセット選択ツールです。ゲームで遊べるステージプロジェクト、グラフィックセットとミュージックセットの一覧を編集します。
一覧はゲームのフォルダにあり、ウィンドウを閉じたときに保存されます。ゲームのフォルダに書き込めないとき（インストールしたゲーム）は、~/.local/share/qon の一覧を編集します。</source>
        <translation>The set selector of qon. Edits the lists of the stage projects, graphic sets and music sets the game offers.
The lists are kept in the game&apos;s folder and saved when the window closes. When the game&apos;s folder cannot be written (an installed game), the lists in ~/.local/share/qon are edited.</translation>
    </message>
</context>
<context>
    <name>qon::graphic_set_creator::GraphicSetWindow</name>
    <message>
        <source>通常ブロックのグラフィック</source>
        <translation>Normal block graphics</translation>
    </message>
    <message>
        <source>特殊ブロックのグラフィック</source>
        <translation>Special block graphics</translation>
    </message>
    <message>
        <source>その他</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>グラフィックセット名：</source>
        <translation>Graphic set name:</translation>
    </message>
    <message>
        <source>製作者：</source>
        <translation>Author:</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;S)</source>
        <translation>Save &amp;As</translation>
    </message>
    <message>
        <source>上書き保存(&amp;V)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>終了(&amp;E)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse</translation>
    </message>
</context>
<context>
    <name>qon::stage_editor::NewProjectDialog</name>
    <message>
        <source>新規作成</source>
        <translation>New</translation>
    </message>
    <message>
        <source>ステージセット名</source>
        <translation>Stage set name</translation>
    </message>
    <message>
        <source>ステージ数</source>
        <translation>Stages</translation>
    </message>
    <message>
        <source>製作者名</source>
        <translation>Author</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>qon::stage_editor::SaveProgressDialog</name>
    <message>
        <source>保存の準備をしています…</source>
        <translation>Getting ready to save…</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>ステージファイルを書き込んでいます… (%1 / %2)</source>
        <translation>Writing the stage files… (%1 / %2)</translation>
    </message>
    <message>
        <source>ディスクに書き込んでいます…</source>
        <translation>Writing to disk…</translation>
    </message>
    <message>
        <source>仕上げています… (%1 / %2)</source>
        <translation>Finishing… (%1 / %2)</translation>
    </message>
</context>
<context>
    <name>qon::stage_editor::StageProjectWindow</name>
    <message>
        <source>アイテムパレット</source>
        <translation>Item palette</translation>
    </message>
    <message>
        <source>選択中のアイテム</source>
        <translation>Selected item</translation>
    </message>
    <message>
        <source>編集中のステージ</source>
        <translation>Editing stage</translation>
    </message>
    <message>
        <source>消しゴム：マスを空にする</source>
        <translation>Eraser: empties a cell</translation>
    </message>
    <message>
        <source>前のステージ (PageUp)</source>
        <translation>Previous stage (PageUp)</translation>
    </message>
    <message>
        <source>次のステージ (PageDown)</source>
        <translation>Next stage (PageDown)</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>最近使ったファイル(&amp;R)</source>
        <translation>&amp;Recent Files</translation>
    </message>
    <message>
        <source>グラフィックセットを開く(&amp;G)</source>
        <translation>Open &amp;Graphic Set</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;S)</source>
        <translation>Save &amp;As</translation>
    </message>
    <message>
        <source>上書き保存(&amp;V)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>終了(&amp;E)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>ペン(&amp;P)</source>
        <translation>&amp;Pen</translation>
    </message>
    <message>
        <source>ペン</source>
        <translation>Pen</translation>
    </message>
    <message>
        <source>四角形で塗る(&amp;Q)</source>
        <translation>Fill Re&amp;ctangle</translation>
    </message>
    <message>
        <source>四角</source>
        <translation>Rect</translation>
    </message>
    <message>
        <source>つながったマスを塗る(&amp;F)</source>
        <translation>&amp;Fill Connected Cells</translation>
    </message>
    <message>
        <source>塗る</source>
        <translation>Fill</translation>
    </message>
    <message>
        <source>スポイト（Alt+クリック）(&amp;I)</source>
        <translation>Eye&amp;dropper (Alt+Click)</translation>
    </message>
    <message>
        <source>スポイト</source>
        <translation>Pick</translation>
    </message>
    <message>
        <source>ステージ(&amp;S)</source>
        <translation>&amp;Stage</translation>
    </message>
    <message>
        <source>前のステージ(&amp;B)</source>
        <translation>&amp;Previous Stage</translation>
    </message>
    <message>
        <source>次のステージ(&amp;G)</source>
        <translation>&amp;Next Stage</translation>
    </message>
    <message>
        <source>ステージ番号を指定して移動(&amp;J)...</source>
        <translation>&amp;Jump to Stage...</translation>
    </message>
    <message>
        <source>前に空のステージを挿入(&amp;I)</source>
        <translation>&amp;Insert Empty Stage Before</translation>
    </message>
    <message>
        <source>後ろに空のステージを挿入(&amp;A)</source>
        <translation>Insert Empty Stage &amp;After</translation>
    </message>
    <message>
        <source>このステージを複製(&amp;D)</source>
        <translation>&amp;Duplicate This Stage</translation>
    </message>
    <message>
        <source>このステージを削除(&amp;X)</source>
        <translation>Dele&amp;te This Stage</translation>
    </message>
    <message>
        <source>ひとつ前へ移動(&amp;U)</source>
        <translation>Move &amp;Up One</translation>
    </message>
    <message>
        <source>ひとつ後ろへ移動(&amp;N)</source>
        <translation>Move Do&amp;wn One</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>等倍（1×）(&amp;1)</source>
        <translation>Actual Size (1×) &amp;1</translation>
    </message>
    <message>
        <source>2 倍（2×）(&amp;2)</source>
        <translation>Double (2×) &amp;2</translation>
    </message>
    <message>
        <source>3 倍（3×）(&amp;3)</source>
        <translation>Triple (3×) &amp;3</translation>
    </message>
    <message>
        <source>ウィンドウに合わせる(&amp;W)</source>
        <translation>Fit to &amp;Window</translation>
    </message>
    <message>
        <source>拡大(&amp;I)</source>
        <translation>Zoom &amp;In</translation>
    </message>
    <message>
        <source>縮小(&amp;O)</source>
        <translation>Zoom &amp;Out</translation>
    </message>
    <message>
        <source>テスト(&amp;T)</source>
        <translation>&amp;Test</translation>
    </message>
    <message>
        <source>このステージをテストプレイ(&amp;P)</source>
        <translation>&amp;Play This Stage</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>目次(&amp;C)</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;I)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>（まだありません）</source>
        <translation>(none yet)</translation>
    </message>
    <message>
        <source>Tessel ヘルプ</source>
        <translation>Tessel Help</translation>
    </message>
</context>
</TS>
